#include "quotations/released_quotations.h"

#include "common/text.h"
#include "exchange/envelope.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_address.h"
#include "exchange/http_transport.h"
#include "quotations/quotation_records.h"
#include "store/batch_write.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/schema.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Erro = u"Erro"_s;
const QString NothingReleased = u"Nenhuma cotação liberada  para você... Erro : "_s;
const QString SuccessLine = u"BAIXADA COM SUCESSO"_s;
const QString AlreadyStored = u" já está no seu banco, verifique se o itens já foram baixado..."_s;

const ItemLineLayout &itemLayout()
{
    static const ItemLineLayout layout {
        QStringList(quotationItemColumns().cbegin(), quotationItemColumns().cend()),
        QuotationItemKeyPositions,
        FirstUpdatedPosition,
    };
    return layout;
}

} // namespace

ReleasedQuotations::ReleasedQuotations(
    Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor)
    : m_prompts(prompts)
    , m_dm(dm)
    , m_net(net)
    , m_http(http)
    , m_servidor(std::move(servidor))
{
}

bool ReleasedQuotations::openTables()
{
    try {
        Table &lib = m_dm.CotaLiberada();
        lib.close();
        lib.open();
        // The items are written by key, not through the set: it is left
        // closed with no quotation chosen, which is all the next window finds
        // of it.
        m_dm.closeQuotationItems();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool ReleasedQuotations::fetchList()
{
    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    const auto answer
        = frame.get(m_http, requestAddress(m_servidor, u"getcotalib.php"_s, m_login.login, m_login.senha));
    if (!answer)
        return false;
    m_lastAnswer = *answer;
    if (isRefusal(trimControls(*answer))) {
        frame.refuse(Atencao, NothingReleased + *answer);
        return false;
    }

    Database &db = m_dm.Banco();
    const AnswerLines lines(*answer);
    QList<qint64> added;
    qint64 lastSeen = -1; // the list ends on the last quotation listed
    const auto show = qScopeGuard([&] {
        db.announceRowsWritten(cotaLiberadasSchema().name, added);
        Table &lib = m_dm.CotaLiberada();
        if (lastSeen >= 0 && lib.isOpen())
            lib.gotoRowId(lastSeen);
    });
    try {
        writeInOneTransaction(db, [&] {
            ReleasedKeys known(db, cotaLiberadasSchema(), u"Cotacao"_s);
            for (const QString &line : lines.lines()) {
                const auto fields = recordFields(line, ReleasedQuotationFields);
                if (!fields)
                    continue;
                const QString cotacao = releasedCotacao(*fields);
                if (const qint64 row = known.find(cotacao); row >= 0) {
                    lastSeen = row;
                    m_prompts.message(Atencao, u"A cotaçao : "_s + cotacao + AlreadyStored);
                    continue;
                }
                const ReleasedQuotationLine r = readReleasedQuotation(*fields);
                const qint64 row = addReleasedQuotation(
                    db, r.cotacao, r.tipoStatus, r.dataValidade, r.ateHora, r.dataLiberada);
                added << row;
                lastSeen = row;
                known.add(r.cotacao, row);
            }
        });
    } catch (const std::exception &e) {
        frame.fail(errorText(e));
        return false;
    }
    frame.finish();
    return true;
}

bool ReleasedQuotations::downloadItems()
{
    m_dm.setPodeIcota(true);
    Table &lib = m_dm.CotaLiberada();
    if (!lib.isOpen() || lib.isEmpty())
        return false;
    const QString cotacao = lib.asString(u"Cotacao"_s);
    if (lib.asString(u"TipoStatus"_s).toUpper() != u"ABERTA") {
        m_prompts.message(Erro,
            u"A Cotação : "_s + cotacao
                + u" já foi baixada, Enviada ou pronta para envio, operação cancelada.."_s);
        return false;
    }
    if (!m_prompts.ask(Atencao, u"Dejesa baixar os itens da cotação : "_s + cotacao + u" ??????"_s))
        return false;

    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    const Bookmark selected = lib.bookmark();
    const QString address
        = requestAddress(m_servidor, u"getcotaforn.php"_s, m_login.login, m_login.senha, u"cota"_s, cotacao);
    const auto answer = frame.get(m_http, address);
    if (!answer)
        return false;
    m_lastAnswer = *answer;
    if (isRefusal(*answer)) {
        frame.refuse(Atencao, NothingReleased + *answer);
        return false;
    }
    const AnswerLines lines(*answer);
    const QString last = lines.statusLine();
    const bool success = last == SuccessLine;
    // The status goes in the items' transaction: a program stopped halfway
    // never leaves the quotation "Baixada" without its items.
    const auto finish = [&] {
        if (success)
            markDownloaded(selected, cotacao);
    };
    if (!storeItems(frame, lines.itemLines(), finish))
        return false;
    if (success)
        m_prompts.message(Atencao, last);
    else
        m_prompts.message(Erro, u"Alguma coisa aconteceu, tente novamente"_s);
    frame.finish();
    return success;
}

bool ReleasedQuotations::storeItems(
    ExchangeFrame &frame, const QStringList &lines, const std::function<void()> &finish)
{
    try {
        storeItemLines(
            m_dm.Banco(), cotacaoForncSchema(), itemLayout(), lines,
            [](const QString &line) -> std::optional<QVariantList> {
                const auto fields = recordFields(line, QuotationItemPositions);
                if (!fields)
                    return std::nullopt;
                const QuotationItemLine item = readQuotationItem(*fields);
                return QVariantList(item.values.cbegin(), item.values.cend());
            },
            finish, [this] { return m_dm.podeIcota(); });
    } catch (const std::exception &e) {
        frame.fail(errorText(e));
        return false;
    }
    return true;
}

void ReleasedQuotations::markDownloaded(const Bookmark &selected, const QString &cotacao)
{
    setQuotationStatusAt(m_dm.Banco(), selected.id, cotacao, u"Baixada"_s);
}
