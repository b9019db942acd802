#include "buyersim/buyer_service.h"

#include "buyersim/buyer_records.h"
#include "buyersim/multipart_form.h"
#include "common/clock.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace buyersim {

namespace {

const QByteArray scriptType = "text/html; charset=ISO-8859-1";
const QByteArray plainType = "text/plain; charset=ISO-8859-1";

HttpAnswer text(const QString &line, QString note = {})
{
    return HttpAnswer { 200, scriptType, line.toLatin1(), std::move(note) };
}

HttpAnswer lines(const QStringList &records, QString note = {})
{
    return HttpAnswer { 200, scriptType, answerBody(records), std::move(note) };
}

HttpAnswer httpError(int status, const QString &message)
{
    return HttpAnswer { status, plainType, message.toLatin1() + "\r\n", message };
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString percentDecoded(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
            && hexValue(text[i + 2]) >= 0) {
            bytes += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return QString::fromLatin1(bytes);
}

// The script name after the last "/net/" of the path; any prefix before it
// is the buyer's own installation folder.
QString scriptOf(QByteArray path)
{
    if (!path.startsWith('/')) {
        const qsizetype scheme = path.indexOf("://");
        if (scheme < 0)
            return {};
        const qsizetype slash = path.indexOf('/', scheme + 3);
        path = slash < 0 ? QByteArray("/") : path.mid(slash);
    }
    const qsizetype net = path.lastIndexOf("/net/");
    if (net < 0)
        return {};
    return QString::fromLatin1(path.mid(net + 5));
}

HttpAnswer unknownQuotation(const QString &numero)
{
    return text(numero.isEmpty() ? u"*Cotação não informada"_s : u"*Cotação %1 não encontrada"_s.arg(numero));
}

QString refusalForVerdict(const Quotation &cotacao, const QString &verdict)
{
    if (verdict == "CF"_L1)
        return u"*A cotação %1 está fechada ou já foi respondida"_s.arg(cotacao.numero);
    const QString limit = cotacao.validade.toString(u"dd/MM/yyyy"_s)
        + (cotacao.ateHora.isNull() ? QString() : u" "_s + cotacao.ateHora.toString(u"HH:mm"_s));
    return u"*O prazo da cotação %1 terminou em %2"_s.arg(cotacao.numero, limit);
}

} // namespace

QString deliveryVerdict(const Quotation &cotacao, bool answered, const QDateTime &now)
{
    if (answered || cotacao.status.toUpper() != "ABERTA"_L1)
        return u"CF"_s;
    const QDate today = now.date();
    if (today > cotacao.validade)
        return u"EDM"_s;
    // The limit hour holds to its last second: 17:00 still takes 17:00:59.
    const QTime minute(now.time().hour(), now.time().minute());
    if (today == cotacao.validade && !cotacao.ateHora.isNull() && minute > cotacao.ateHora)
        return u"EHM"_s;
    return u"OK"_s;
}

QHash<QString, QString> decodeQuery(const QByteArray &query)
{
    QHash<QString, QString> values;
    for (const QByteArray &pair : query.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        const QString name = percentDecoded(QByteArrayView(pair).first(equals < 0 ? pair.size() : equals));
        const QString value
            = equals < 0 ? QString() : percentDecoded(QByteArrayView(pair).sliced(equals + 1));
        if (!values.contains(name))
            values.insert(name, value);
    }
    return values;
}

BuyerService::BuyerService(BuyerState &state, QString statePath, QString user, QString password)
    : m_state(state)
    , m_statePath(std::move(statePath))
    , m_user(std::move(user))
    , m_password(std::move(password))
{
    // Serialised once at start, so that a submission only writes its own part.
    if (!m_statePath.isEmpty()) {
        m_catalogue = m_state.catalogueJson();
        for (const Submission &envio : std::as_const(m_state.envios))
            m_savedSubmissions.append(BuyerState::submissionJson(envio));
    }
}

HttpAnswer BuyerService::handle(const HttpRequest &request)
{
    QByteArray path = request.target;
    QByteArray queryText;
    if (const qsizetype mark = path.indexOf('?'); mark >= 0) {
        queryText = path.mid(mark + 1);
        path.truncate(mark);
    }
    if (const qsizetype hash = queryText.indexOf('#'); hash >= 0)
        queryText.truncate(hash);

    static const QSet<QString> scripts { u"getcotalib.php"_s, u"getcotaforn.php"_s, u"getpedlib.php"_s,
        u"getpedforn.php"_s, u"verificaentrega.php"_s, u"sendcotaforn.php"_s };
    const QString script = scriptOf(path);
    if (!scripts.contains(script))
        return httpError(404, u"Não encontrado: %1"_s.arg(QString::fromLatin1(path)));
    if (request.method != "GET" && request.method != "POST")
        return httpError(405, u"Método não permitido: %1"_s.arg(QString::fromLatin1(request.method)));

    const Query query = decodeQuery(queryText);
    if (query.value(u"user"_s) != m_user || query.value(u"pass"_s) != m_password || m_user.isEmpty())
        return text(u"*Usuário ou senha inválidos"_s, u"%1: wrong credentials"_s.arg(script));

    if (script == "getcotalib.php"_L1)
        return quotationList();
    if (script == "getcotaforn.php"_L1)
        return quotationItems(query);
    if (script == "getpedlib.php"_L1)
        return orderList();
    if (script == "getpedforn.php"_L1)
        return orderItems(query);
    if (script == "verificaentrega.php"_L1)
        return verification(query);
    return submission(query, request);
}

HttpAnswer BuyerService::quotationList() const
{
    QStringList records;
    for (const Quotation &cotacao : m_state.cotacoes)
        records.append(quotationListRecord(cotacao));
    return lines(records);
}

HttpAnswer BuyerService::quotationItems(const Query &query) const
{
    const QString numero = query.value(u"cota"_s);
    const Quotation *cotacao = m_state.quotation(numero);
    if (!cotacao)
        return unknownQuotation(numero);
    QStringList records;
    for (const QuotationItem &item : cotacao->itens)
        records.append(quotationItemRecord(*cotacao, item, m_state.lojas));
    records.append(quotationSuccessLine);
    return lines(records);
}

HttpAnswer BuyerService::orderList() const
{
    QStringList records;
    for (const Order &pedido : m_state.pedidos)
        records.append(orderListRecord(pedido));
    return lines(records);
}

HttpAnswer BuyerService::orderItems(const Query &query) const
{
    const QString numero = query.value(u"ped"_s);
    const Order *pedido = m_state.order(numero);
    if (!pedido)
        return text(
            numero.isEmpty() ? u"*Pedido não informado"_s : u"*Pedido %1 não encontrado"_s.arg(numero));
    QStringList records;
    for (const OrderItem &item : pedido->itens)
        records.append(orderItemRecord(*pedido, item, m_state.lojas));
    records.append(orderSuccessLine);
    return lines(records);
}

HttpAnswer BuyerService::verification(const Query &query) const
{
    const QString numero = query.value(u"cota"_s);
    const Quotation *cotacao = m_state.quotation(numero);
    if (!cotacao)
        return unknownQuotation(numero);
    return text(deliveryVerdict(*cotacao, m_state.answered(numero), Clock::current().now()));
}

HttpAnswer BuyerService::submission(const Query &query, const HttpRequest &request)
{
    const QString numero = query.value(u"cota"_s);
    const Quotation *cotacao = m_state.quotation(numero);
    if (!cotacao)
        return unknownQuotation(numero);
    const QDateTime now = Clock::current().now();
    const QString verdict = deliveryVerdict(*cotacao, m_state.answered(numero), now);
    if (verdict != "OK"_L1)
        return text(
            refusalForVerdict(*cotacao, verdict), u"submission for %1 refused: %2"_s.arg(numero, verdict));

    const FormParse form = parseForm(request.body, formBoundary(request.contentType));
    if (!form.ok())
        return text(u"*Formulário inválido: "_s + form.problem);

    // Items in the order of their numbers, whatever the order of the parts.
    static const QRegularExpression itemName(u"^items([0-9]{1,9})$"_s);
    QMap<int, QByteArray> values;
    for (const FormField &field : form.fields) {
        const QRegularExpressionMatch match = itemName.match(QString::fromLatin1(field.name));
        if (!match.hasMatch())
            continue;
        const int k = match.captured(1).toInt();
        if (values.contains(k))
            return text(u"*Formulário inválido: campo items%1 repetido"_s.arg(k));
        values.insert(k, field.value);
    }

    QSet<QString> requested;
    for (const QuotationItem &item : cotacao->itens)
        requested.insert(item.produto);
    Submission envio { numero, now, {} };
    QSet<QString> seen;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString name = u"items%1"_s.arg(it.key());
        QString problem;
        const std::optional<SubmittedItem> item
            = parseSubmittedItem(QString::fromLatin1(it.value()), &problem);
        if (!item)
            return text(u"*Item %1 inválido: %2"_s.arg(name, problem));
        if (item->cotacao != numero)
            return text(
                u"*Item %1 inválido: cotação %2 difere da cotação %3"_s.arg(name, item->cotacao, numero));
        if (!requested.contains(item->produto))
            return text(u"*Item %1 inválido: produto %2 não pertence à cotação %3"_s.arg(
                name, item->produto, numero));
        if (seen.contains(item->produto))
            return text(u"*Item %1 inválido: produto %2 repetido"_s.arg(name, item->produto));
        seen.insert(item->produto);
        envio.itens.append(*item);
    }
    return record(std::move(envio));
}

HttpAnswer BuyerService::record(Submission envio)
{
    const QString numero = envio.cotacao;
    const qsizetype count = envio.itens.size();
    m_state.envios.append(std::move(envio));
    if (!m_statePath.isEmpty()) {
        try {
            QList<QByteArray> submissions = m_savedSubmissions;
            submissions.append(BuyerState::submissionJson(m_state.envios.last()));
            BuyerState::writeFile(m_statePath, BuyerState::assembleJson(m_catalogue, submissions));
            m_savedSubmissions = submissions;
        } catch (const StateError &error) {
            // Unsaved, the answer would be forgotten at the next start.
            m_state.envios.removeLast();
            return text(
                u"*Falha ao gravar a resposta da cotação %1 no servidor, tente novamente"_s.arg(numero),
                error.message());
        }
    }
    const QString answer = count == 1 ? u"Recebido 1 item da cotação %1"_s.arg(numero)
                                      : u"Recebidos %1 itens da cotação %2"_s.arg(count).arg(numero);
    return text(answer, answer);
}

} // namespace buyersim
