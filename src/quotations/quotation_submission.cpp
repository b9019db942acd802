#include "quotations/quotation_submission.h"

#include "common/clock.h"
#include "common/text.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_address.h"
#include "exchange/http_transport.h"
#include "exchange/multipart_form.h"
#include "quotations/submission_record.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/store_error.h"

using namespace Qt::StringLiterals;

namespace {

const QString Enviar = u"Enviar"_s;

} // namespace

QuotationSubmission::QuotationSubmission(
    Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor)
    : m_prompts(prompts)
    , m_dm(dm)
    , m_net(net)
    , m_http(http)
    , m_servidor(std::move(servidor))
{
}

QString QuotationSubmission::dataAtual()
{
    return u"Data atual : "_s + formatValue(Clock::current().now().date(), FieldType::Date, u"dd/mm/yyyy"_s);
}

void QuotationSubmission::listReady()
{
    Table &list = m_dm.CotaLiberada();
    list.close();
    list.setIndexName(u"IndexName"_s);
    list.setFilter(u"TipoStatus = ?"_s, { Enviar });
    list.setFiltered(true);
    list.open();

    // Until a quotation is selected no item matches.
    m_dm.CotaFornec().close();
    m_dm.showQuotationItems(u"0"_s);

    followSelection();
}

void QuotationSubmission::followSelection()
{
    const Table &list = m_dm.CotaLiberada();
    if (!list.isOpen() || list.isEmpty())
        return;
    m_dm.showQuotationItems(list.asString(u"Cotacao"_s));
}

QString QuotationSubmission::selectedCotacao() const
{
    const Table &list = m_dm.CotaLiberada();
    if (!list.isOpen() || list.isEmpty())
        return {};
    return list.asString(u"Cotacao"_s);
}

bool QuotationSubmission::select(const QString &cotacao)
{
    Table &list = m_dm.CotaLiberada();
    if (!list.isOpen() || list.isEmpty())
        return false;
    // The look-up ignores case; only the exact number selects.
    if (!list.locate(u"Cotacao"_s, { cotacao }) || list.asString(u"Cotacao"_s) != cotacao)
        return false;
    followSelection();
    return true;
}

SubmissionResult QuotationSubmission::sendSelected()
{
    const Table &list = m_dm.CotaLiberada();
    if (!list.isOpen() || list.isEmpty())
        return SubmissionResult::Nothing;
    const QString cotacao = selectedCotacao();
    try {
        followSelection();
        // Posting an empty form would mark the quotation sent with no answer
        // at all reaching the buyer.
        if (m_dm.CotaFornec().isEmpty()) {
            m_prompts.message(u"Atenção"_s, u"A cotação não tem itens no banco; nada foi enviado."_s);
            return SubmissionResult::NoItems;
        }
        if (!m_prompts.ask(u"Atenção"_s, u"Confirme o envio desta cotação para o Kelvo Autopeças ????"_s))
            return SubmissionResult::Declined;
        return send(cotacao);
    } catch (const std::exception &e) {
        // A store failure ends the send; what was posted stays posted.
        m_prompts.error(errorText(e));
        return SubmissionResult::Stopped;
    }
}

SubmissionResult QuotationSubmission::send(const QString &cotacao)
{
    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return SubmissionResult::Stopped;

    m_http.setRequestContentType(u"application/x-www-form-urlencoded"_s);
    const auto verdict = frame.get(m_http, address(u"verificaentrega.php"_s, cotacao));
    if (!verdict)
        return SubmissionResult::Stopped;
    if (const auto refusal = verificationRefusal(*verdict)) {
        frame.refuse(u"Erro"_s, *refusal);
        return SubmissionResult::Stopped;
    }

    MultipartForm form;
    const QStringList records = itemRecords(m_dm.CotaFornec());
    for (qsizetype k = 0; k < records.size(); ++k)
        form.addField(u"items"_s + QString::number(k + 1), records[k]);
    const auto answer = frame.post(m_http, address(u"sendcotaforn.php"_s, cotacao), form);
    if (!answer)
        return SubmissionResult::Stopped;

    // A "*" answer is the buyer refusing the items: the quotation is not sent.
    const QString stripped = trimControls(*answer);
    if (stripped.startsWith(u'*')) {
        frame.refuse(u"Erro"_s, stripped.mid(1));
        return SubmissionResult::Refused;
    }
    frame.log().addLine(*answer);
    SubmissionResult result = SubmissionResult::Sent;
    try {
        markSent(cotacao);
    } catch (const std::exception &e) {
        // The buyer has the items: the supplier must not take the quotation,
        // still listed as ready, for one that was never sent.
        m_dm.CotaLiberada().cancel();
        m_prompts.message(u"Erro"_s, receivedButNotMarkedText(cotacao, errorText(e)), PromptIcon::Error);
        result = SubmissionResult::SentNotMarked;
    }
    frame.finish();
    return result;
}

QString QuotationSubmission::address(const QString &script, const QString &cotacao) const
{
    return requestAddress(m_servidor, script, m_login.login, m_login.senha, u"cota"_s, cotacao);
}

void QuotationSubmission::markSent(const QString &cotacao)
{
    Table &list = m_dm.CotaLiberada();
    if (list.asString(u"Cotacao"_s) != cotacao
        && (!list.locate(u"Cotacao"_s, { cotacao }) || list.asString(u"Cotacao"_s) != cotacao))
        throw StoreError(u"Cotação %1 não encontrada no banco"_s.arg(cotacao));
    setQuotationStatusAt(m_dm.Banco(), list.bookmark().id, cotacao, u"Enviada"_s);
}

QString receivedButNotMarkedText(const QString &cotacao, const QString &storeError)
{
    return u"A Kelvo recebeu a cotação %1, mas o banco não pôde marcá-la como \"Enviada\" (%2). "
           u"Ela continua na lista; não a envie de novo."_s.arg(cotacao, storeError);
}

void QuotationSubmission::closeList()
{
    Table &list = m_dm.CotaLiberada();
    list.close();
    list.setFilter(QString());
    list.setFiltered(false);
}

QStringList itemRecords(const QuotationItemSet &items)
{
    QStringList records;
    records.reserve(items.rowCount());
    for (const QuotationItemRow &r : items.rows())
        records.append(itemRecord(
            { r.contato, r.cotacao, r.data, r.produto, r.qtde, r.valor, r.condPgto, r.similares, r.obs }));
    return records;
}
