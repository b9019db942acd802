#include "buyersim/buyer_state.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <cmath>

using namespace Qt::StringLiterals;

namespace buyersim {

namespace {

const QString dateFormat = QStringLiteral("yyyy-MM-dd");
const QString timeFormat = QStringLiteral("HH:mm");

QJsonArray quantities(const std::array<double, storeCount> &values)
{
    QJsonArray array;
    for (double value : values)
        array.append(value);
    return array;
}

QJsonObject lineJson(const ItemLine &item)
{
    return QJsonObject {
        { u"produto"_s, item.produto },
        { u"prodfabr"_s, item.prodFabr },
        { u"descricao"_s, item.descricao },
        { u"un"_s, item.un },
        { u"aplicacao"_s, item.aplicacao },
        { u"marca"_s, item.marca },
        { u"qtdeLojas"_s, quantities(item.qtdeLoja) },
        { u"condpgto"_s, item.condPgto },
        { u"similares"_s, item.similares },
        { u"obs"_s, item.obs },
    };
}

QJsonObject toJson(const QuotationItem &item)
{
    QJsonArray lojas;
    for (const QString &numero : item.cotacaoLoja)
        lojas.append(numero);
    QJsonObject object = lineJson(item);
    object.insert(u"cotacaoLojas"_s, lojas);
    object.insert(u"status"_s, item.status);
    object.insert(u"tipostatus"_s, item.tipoStatus);
    return object;
}

QJsonObject toJson(const OrderItem &item)
{
    QJsonObject object = lineJson(item);
    object.insert(u"valor"_s, item.valor);
    return object;
}

QJsonObject toJson(const SubmittedItem &item)
{
    return QJsonObject {
        { u"contato"_s, item.contato },
        { u"cotacao"_s, item.cotacao },
        { u"data"_s, item.data },
        { u"produto"_s, item.produto },
        { u"qtde"_s, item.qtde },
        { u"valor"_s, item.valor },
        { u"condpgto"_s, item.condPgto },
        { u"similares"_s, item.similares },
        { u"obs"_s, item.obs },
    };
}

// Reads one JSON object and reports the first bad value with its place.
class Reader final {
public:
    Reader(QJsonObject object, QString where)
        : m_object(std::move(object))
        , m_where(std::move(where))
    {
    }

    QString text(const QString &key) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isString())
            fail(key, u"not a text"_s);
        return value.toString();
    }

    QString number(const QString &key) const
    {
        static const QRegularExpression allowed(u"^[0-9A-Za-z./-]{1,17}$"_s);
        const QString value = text(key);
        if (!allowed.match(value).hasMatch())
            fail(key,
                u"empty, longer than 17 characters or with characters other than letters, digits, \".\", \"/\" and \"-\""_s);
        return value;
    }

    QDate date(const QString &key) const
    {
        const QDate value = QDate::fromString(text(key), dateFormat);
        if (!value.isValid())
            fail(key, u"not a date yyyy-MM-dd"_s);
        return value;
    }

    QTime optionalTime(const QString &key) const
    {
        const QString value = text(key);
        if (value.isEmpty())
            return {};
        const QTime time = QTime::fromString(value, timeFormat);
        if (!time.isValid())
            fail(key, u"not a time HH:mm"_s);
        return time;
    }

    QDateTime dateTime(const QString &key) const
    {
        const QDateTime value = QDateTime::fromString(text(key), Qt::ISODate);
        if (!value.isValid())
            fail(key, u"not an ISO date and time"_s);
        return value;
    }

    double amount(const QJsonValue &value, const QString &key) const
    {
        if (value.isUndefined() || value.isNull())
            return 0;
        if (!value.isDouble() || !std::isfinite(value.toDouble()) || value.toDouble() < 0)
            fail(key, u"not a number of zero or more"_s);
        return value.toDouble();
    }

    double amount(const QString &key) const { return amount(m_object.value(key), key); }

    std::array<double, storeCount> amounts(const QString &key) const
    {
        std::array<double, storeCount> values {};
        const QJsonArray array = list(key, storeCount);
        for (int i = 0; i < array.size(); ++i)
            values[i] = amount(array.at(i), key);
        return values;
    }

    std::array<QString, storeCount> texts(const QString &key) const
    {
        std::array<QString, storeCount> values;
        const QJsonArray array = list(key, storeCount);
        for (int i = 0; i < array.size(); ++i) {
            if (!array.at(i).isString() && !array.at(i).isNull())
                fail(key, u"not a list of texts"_s);
            values[i] = array.at(i).toString();
        }
        return values;
    }

    QJsonArray list(const QString &key, qsizetype maxSize = -1) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isArray())
            fail(key, u"not a list"_s);
        if (maxSize >= 0 && value.toArray().size() > maxSize)
            fail(key, u"list too long"_s);
        return value.toArray();
    }

    QList<QJsonObject> objects(const QString &key) const
    {
        QList<QJsonObject> result;
        for (const QJsonValue &value : list(key)) {
            if (!value.isObject())
                fail(key, u"holds something that is not an object"_s);
            result.append(value.toObject());
        }
        return result;
    }

    [[noreturn]] void fail(const QString &key, const QString &problem) const
    {
        throw StateError(m_where + u", \""_s + key + u"\": "_s + problem);
    }

    const QString &where() const { return m_where; }

private:
    QJsonObject m_object;
    QString m_where;
};

void readLine(const Reader &in, ItemLine &item)
{
    item.produto = in.text(u"produto"_s);
    if (item.produto.trimmed().isEmpty())
        in.fail(u"produto"_s, u"empty"_s);
    item.prodFabr = in.text(u"prodfabr"_s);
    item.descricao = in.text(u"descricao"_s);
    item.un = in.text(u"un"_s);
    item.aplicacao = in.text(u"aplicacao"_s);
    item.marca = in.text(u"marca"_s);
    item.qtdeLoja = in.amounts(u"qtdeLojas"_s);
    item.condPgto = in.text(u"condpgto"_s);
    item.similares = in.text(u"similares"_s);
    item.obs = in.text(u"obs"_s);
}

QuotationItem quotationItem(const Reader &in)
{
    QuotationItem item;
    readLine(in, item);
    item.cotacaoLoja = in.texts(u"cotacaoLojas"_s);
    item.status = in.text(u"status"_s);
    item.tipoStatus = in.text(u"tipostatus"_s);
    return item;
}

OrderItem orderItem(const Reader &in)
{
    OrderItem item;
    readLine(in, item);
    item.valor = in.amount(u"valor"_s);
    return item;
}

// The buyer's contact opens every item line; a blank one would make the
// supplier's program skip the line.
QString contact(const Reader &in)
{
    const QString value = in.text(u"contato"_s);
    if (value.trimmed().isEmpty())
        in.fail(u"contato"_s, u"empty"_s);
    return value;
}

template <typename Item, typename ReadItem>
QList<Item> items(const Reader &in, const QString &kind, ReadItem readItem)
{
    QList<Item> result;
    QSet<QString> codes;
    const QList<QJsonObject> objects = in.objects(u"itens"_s);
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const Reader itemIn(objects.at(i), in.where() + u", "_s + kind + u' ' + QString::number(i + 1));
        Item item = readItem(itemIn);
        if (codes.contains(item.produto))
            itemIn.fail(u"produto"_s, u"repeated in the same document"_s);
        codes.insert(item.produto);
        result.append(std::move(item));
    }
    return result;
}

void checkUnique(QSet<QString> &seen, const Reader &in, const QString &numero)
{
    if (seen.contains(numero.toCaseFolded()))
        in.fail(u"numero"_s, u"repeated"_s);
    seen.insert(numero.toCaseFolded());
}

} // namespace

StateError::StateError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

const Quotation *BuyerState::quotation(const QString &numero) const
{
    for (const Quotation &cotacao : cotacoes)
        if (cotacao.numero == numero)
            return &cotacao;
    return nullptr;
}

const Order *BuyerState::order(const QString &numero) const
{
    for (const Order &pedido : pedidos)
        if (pedido.numero == numero)
            return &pedido;
    return nullptr;
}

bool BuyerState::answered(const QString &numero) const
{
    for (const Submission &envio : envios)
        if (envio.cotacao == numero)
            return true;
    return false;
}

QString BuyerState::nextNumber(int year) const
{
    const QString prefix = QString::number(year);
    qlonglong last = 0;
    auto consider = [&](const QString &numero) {
        if (!numero.startsWith(prefix))
            return;
        bool ok = false;
        const qlonglong sequence = numero.mid(prefix.size()).toLongLong(&ok);
        if (ok && sequence > last)
            last = sequence;
    };
    for (const Quotation &cotacao : cotacoes)
        consider(cotacao.numero);
    for (const Order &pedido : pedidos)
        consider(pedido.numero);
    return prefix + u"%1"_s.arg(last + 1, 6, 10, QLatin1Char('0'));
}

QByteArray BuyerState::catalogueJson() const
{
    QJsonArray quotations;
    for (const Quotation &cotacao : cotacoes) {
        QJsonArray itens;
        for (const QuotationItem &item : cotacao.itens)
            itens.append(buyersim::toJson(item));
        quotations.append(QJsonObject {
            { u"numero"_s, cotacao.numero },
            { u"status"_s, cotacao.status },
            { u"contato"_s, cotacao.contato },
            { u"validade"_s, cotacao.validade.toString(dateFormat) },
            { u"ateHora"_s, cotacao.ateHora.isNull() ? QString() : cotacao.ateHora.toString(timeFormat) },
            { u"liberada"_s, cotacao.liberada.toString(dateFormat) },
            { u"agrupadas"_s, cotacao.agrupadas },
            { u"itens"_s, itens },
        });
    }
    QJsonArray orders;
    for (const Order &pedido : pedidos) {
        QJsonArray itens;
        for (const OrderItem &item : pedido.itens)
            itens.append(buyersim::toJson(item));
        orders.append(QJsonObject {
            { u"numero"_s, pedido.numero },
            { u"status"_s, pedido.status },
            { u"contato"_s, pedido.contato },
            { u"liberado"_s, pedido.liberado.toString(dateFormat) },
            { u"hora"_s,
                pedido.horaLiberado.isNull() ? QString() : pedido.horaLiberado.toString(timeFormat) },
            { u"itens"_s, itens },
        });
    }
    const QJsonObject catalogue {
        { u"lojas"_s, QJsonArray::fromStringList(lojas) },
        { u"cotacoes"_s, quotations },
        { u"pedidos"_s, orders },
    };
    return QJsonDocument(catalogue).toJson(QJsonDocument::Compact);
}

QByteArray BuyerState::submissionJson(const Submission &envio)
{
    QJsonArray itens;
    for (const SubmittedItem &item : envio.itens)
        itens.append(buyersim::toJson(item));
    const QJsonObject object {
        { u"cotacao"_s, envio.cotacao },
        { u"recebido"_s, envio.recebida.toString(Qt::ISODate) },
        { u"itens"_s, itens },
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray BuyerState::assembleJson(const QByteArray &catalogue, const QList<QByteArray> &submissions)
{
    // The catalogue object with the submissions added as its last member.
    QByteArray json = catalogue;
    json.chop(1);
    json += ",\"envios\":[";
    for (qsizetype i = 0; i < submissions.size(); ++i) {
        if (i > 0)
            json += ',';
        json += submissions.at(i);
    }
    json += "]}";
    return json;
}

QByteArray BuyerState::toJson() const
{
    QList<QByteArray> submissions;
    for (const Submission &envio : envios)
        submissions.append(submissionJson(envio));
    return assembleJson(catalogueJson(), submissions);
}

BuyerState BuyerState::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw StateError(u"invalid JSON at offset %1: %2"_s.arg(error.offset).arg(error.errorString()));
    if (!document.isObject())
        throw StateError(u"the state must be a JSON object"_s);
    const Reader root(document.object(), u"state"_s);

    BuyerState state;
    const std::array<QString, storeCount> lojas = root.texts(u"lojas"_s);
    state.lojas = QStringList(lojas.begin(), lojas.end());

    QSet<QString> numbers;
    const QList<QJsonObject> quotations = root.objects(u"cotacoes"_s);
    for (qsizetype i = 0; i < quotations.size(); ++i) {
        const Reader in(quotations.at(i), u"quotation %1"_s.arg(i + 1));
        Quotation cotacao;
        cotacao.numero = in.number(u"numero"_s);
        checkUnique(numbers, in, cotacao.numero);
        cotacao.status = in.text(u"status"_s);
        cotacao.contato = contact(in);
        cotacao.validade = in.date(u"validade"_s);
        cotacao.ateHora = in.optionalTime(u"ateHora"_s);
        cotacao.liberada = in.date(u"liberada"_s);
        cotacao.agrupadas = in.text(u"agrupadas"_s);
        cotacao.itens = items<QuotationItem>(in, u"item"_s, quotationItem);
        state.cotacoes.append(std::move(cotacao));
    }

    numbers.clear();
    const QList<QJsonObject> orders = root.objects(u"pedidos"_s);
    for (qsizetype i = 0; i < orders.size(); ++i) {
        const Reader in(orders.at(i), u"order %1"_s.arg(i + 1));
        Order pedido;
        pedido.numero = in.number(u"numero"_s);
        checkUnique(numbers, in, pedido.numero);
        pedido.status = in.text(u"status"_s);
        pedido.contato = contact(in);
        pedido.liberado = in.date(u"liberado"_s);
        pedido.horaLiberado = in.optionalTime(u"hora"_s);
        pedido.itens = items<OrderItem>(in, u"item"_s, orderItem);
        state.pedidos.append(std::move(pedido));
    }

    const QList<QJsonObject> submissions = root.objects(u"envios"_s);
    for (qsizetype i = 0; i < submissions.size(); ++i) {
        const Reader in(submissions.at(i), u"submission %1"_s.arg(i + 1));
        Submission envio;
        envio.cotacao = in.text(u"cotacao"_s);
        envio.recebida = in.dateTime(u"recebido"_s);
        for (const QJsonObject &object : in.objects(u"itens"_s)) {
            const Reader itemIn(object, in.where());
            envio.itens.append(
                SubmittedItem { itemIn.text(u"contato"_s), itemIn.text(u"cotacao"_s), itemIn.text(u"data"_s),
                    itemIn.text(u"produto"_s), itemIn.text(u"qtde"_s), itemIn.text(u"valor"_s),
                    itemIn.text(u"condpgto"_s), itemIn.text(u"similares"_s), itemIn.text(u"obs"_s) });
        }
        state.envios.append(std::move(envio));
    }
    return state;
}

void BuyerState::save(const QString &path) const
{
    writeFile(path, toJson());
}

void BuyerState::writeFile(const QString &path, const QByteArray &json)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StateError(u"cannot write %1: %2"_s.arg(path, file.errorString()));
    file.write(json);
    if (!file.commit())
        throw StateError(u"cannot write %1: %2"_s.arg(path, file.errorString()));
}

BuyerState BuyerState::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StateError(u"cannot read %1: %2"_s.arg(path, file.errorString()));
    try {
        return fromJson(file.readAll());
    } catch (const StateError &error) {
        throw StateError(path + u": "_s + error.message());
    }
}

} // namespace buyersim
