#include "quotations/quotation_submission.h"

#include "common/clock.h"
#include "common/text.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_address.h"
#include "exchange/http_transport.h"
#include "exchange/multipart_form.h"
#include "quotations/submission_record.h"
#include "store/data_module.h"
#include "store/field.h"
#include "store/released_writes.h"
#include "store/sent_quotation_rows.h"
#include "store/store_error.h"

using namespace Qt::StringLiterals;

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
    ReleasedQuotationSet &list = m_dm.CotaLiberada();
    list.close();
    m_dm.chooseReleasedQuotations(TDm::ReleasedChoice::ToSend);
    list.open();

    // Until a quotation is selected no item matches.
    m_dm.CotaFornec().close();
    m_dm.showQuotationItems(u"0"_s);

    followSelection();
}

void QuotationSubmission::followSelection()
{
    if (const ReleasedQuotationRow *selected = m_dm.CotaLiberada().current())
        m_dm.showQuotationItems(selected->cotacao);
}

QString QuotationSubmission::selectedCotacao() const
{
    const ReleasedQuotationRow *selected = m_dm.CotaLiberada().current();
    return selected ? selected->cotacao : QString();
}

bool QuotationSubmission::select(const QString &cotacao)
{
    // Only the exact number selects.
    if (!m_dm.CotaLiberada().locate([&](const ReleasedQuotationRow &row) { return row.cotacao == cotacao; }))
        return false;
    followSelection();
    return true;
}

SubmissionResult QuotationSubmission::sendSelected()
{
    if (m_dm.CotaLiberada().isEmpty())
        return SubmissionResult::Nothing;
    const QString cotacao = selectedCotacao();
    try {
        followSelection();
        // Posting an empty form would mark the quotation sent with no answer
        // at all reaching the buyer.
        const std::vector<SendingItemLine> items = sendingItemLines(m_dm.Banco(), cotacao);
        if (items.empty()) {
            m_prompts.message(u"Atenção"_s, u"A cotação não tem itens no banco; nada foi enviado."_s);
            return SubmissionResult::NoItems;
        }
        if (!m_prompts.ask(u"Atenção"_s, u"Confirme o envio desta cotação para o Kelvo Autopeças ????"_s))
            return SubmissionResult::Declined;
        return send(cotacao, itemRecords(items));
    } catch (const std::exception &e) {
        // A store failure ends the send; what was posted stays posted.
        m_prompts.error(errorText(e));
        return SubmissionResult::Stopped;
    }
}

SubmissionResult QuotationSubmission::send(const QString &cotacao, const QStringList &records)
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
    const ReleasedQuotationSet &list = m_dm.CotaLiberada();
    const int row = list.find([&](const ReleasedQuotationRow &r) { return r.cotacao == cotacao; });
    if (row < 0)
        throw StoreError(u"Cotação %1 não encontrada no banco"_s.arg(cotacao));
    setQuotationStatusAt(m_dm.Banco(), list.rowIdAt(row), cotacao, u"Enviada"_s);
}

QString receivedButNotMarkedText(const QString &cotacao, const QString &storeError)
{
    return u"A Kelvo recebeu a cotação %1, mas o banco não pôde marcá-la como \"Enviada\" (%2). "
           u"Ela continua na lista; não a envie de novo."_s.arg(cotacao, storeError);
}

void QuotationSubmission::closeList()
{
    m_dm.CotaLiberada().close();
    m_dm.chooseReleasedQuotations(TDm::ReleasedChoice::All);
}

QStringList itemRecords(const std::vector<SendingItemLine> &items)
{
    QStringList records;
    records.reserve(qsizetype(items.size()));
    for (const SendingItemLine &line : items) {
        records.append(itemRecord({ line.contato, line.cotacao, line.data, line.produto, line.qtde,
            line.valor, line.condPgto, line.similares, line.obs }));
    }
    return records;
}
