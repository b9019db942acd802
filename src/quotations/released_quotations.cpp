#include "quotations/released_quotations.h"

#include "common/text.h"
#include "exchange/envelope.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_address.h"
#include "quotations/quotation_records.h"
#include "store/data_module.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QScopeGuard>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Erro = u"Erro"_s;
const QString NothingReleased = u"Nenhuma cotação liberada  para você... Erro : "_s;
const QString SuccessLine = u"BAIXADA COM SUCESSO"_s;
const QStringList ItemKey{u"CONTATO"_s, u"COTACAO"_s, u"DATA"_s, u"PRODUTO"_s};

// Ends a batch of writes: what was stored before a failure stays stored.
void keepWhatWasStored(std::optional<Transaction> &tx)
{
    if (!tx)
        return;
    try {
        tx->commit();
    } catch (const std::exception &) {
        // The failure already under way is the one the user sees.
    }
}

} // namespace

ReleasedQuotations::ReleasedQuotations(Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor,
                                       HttpGet get)
    : m_prompts(prompts), m_dm(dm), m_net(net), m_servidor(servidor), m_get(std::move(get))
{
}

void ReleasedQuotations::setCredentials(const QString &xLogin, const QString &xSenha)
{
    m_xLogin = xLogin;
    m_xSenha = xSenha;
}


bool ReleasedQuotations::FormShow()
{
    try {
        Table &lib = m_dm.CotaLiberada();
        lib.close();
        lib.open();
        Table &items = m_dm.CotaFornec();
        items.close();
        items.setFiltered(false);
        items.open();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool ReleasedQuotations::btn1Click()
{
    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    const auto answer = frame.request([this] { return m_get(requestAddress(m_servidor, u"getcotalib.php"_s, m_xLogin, m_xSenha)); });
    if (!answer)
        return false;
    m_memo1 = *answer;
    if (isRefusal(trimControls(*answer))) {
        frame.refuse(Atencao, NothingReleased + *answer);
        return false;
    }

    Table &lib = m_dm.CotaLiberada();
    const AnswerLines lines(*answer);
    std::optional<Transaction> tx;
    try {
        tx.emplace(m_dm.Banco());
        for (const QString &line : lines.lines()) {
            const auto fields = recordFields(line, ReleasedQuotationFields);
            if (!fields)
                continue;
            const QString cotacao = releasedCotacao(*fields);
            if (lib.locate(u"Cotacao"_s, {cotacao})) {
                m_prompts.message(Atencao, u"A cotaçao : "_s + cotacao
                                               + u" já está no seu banco, verifique se o itens já foram baixado..."_s);
                continue;
            }
            const ReleasedQuotationLine r = readReleasedQuotation(*fields);
            if (!lib.append())
                continue;
            lib.setValue(u"DataValidade"_s, r.dataValidade);
            lib.setValue(u"Cotacao"_s, r.cotacao);
            lib.setValue(u"AteHora"_s, r.ateHora);
            lib.setValue(u"TipoStatus"_s, r.tipoStatus);
            lib.setValue(u"DataLiberada"_s, r.dataLiberada);
            lib.post();
        }
        tx->commit();
    } catch (const std::exception &e) {
        lib.cancel();
        keepWhatWasStored(tx);
        frame.fail(errorText(e));
        return false;
    }
    frame.finish();
    return true;
}

bool ReleasedQuotations::btn2Click()
{
    m_dm.setPodeIcota(true);
    Table &lib = m_dm.CotaLiberada();
    if (!lib.isOpen() || lib.isEmpty())
        return false;
    const QString cotacao = lib.asString(u"Cotacao"_s);
    if (lib.asString(u"TipoStatus"_s).toUpper() != u"ABERTA") {
        m_prompts.message(Erro, u"A Cotação : "_s + cotacao
                                    + u" já foi baixada, Enviada ou pronta para envio, operação cancelada.."_s);
        return false;
    }
    if (!m_prompts.ask(Atencao, u"Dejesa baixar os itens da cotação : "_s + cotacao + u" ??????"_s))
        return false;

    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    const Bookmark selected = lib.bookmark();
    const auto answer
        = frame.request([&] {
              return m_get(requestAddress(m_servidor, u"getcotaforn.php"_s, m_xLogin, m_xSenha, u"cota"_s, cotacao));
          });
    if (!answer)
        return false;
    m_memo1 = *answer;
    if (isRefusal(*answer)) {
        frame.refuse(Atencao, NothingReleased + *answer);
        return false;
    }

    const AnswerLines lines(*answer);
    const qsizetype n = lines.count();
    if (!storeItems(frame, lines.lines().mid(0, qMax<qsizetype>(0, n - 1))))
        return false;

    const QString last = lines.line(n >= 2 ? n - 1 : 0);
    const bool success = last == SuccessLine;
    if (success) {
        m_prompts.message(Atencao, last);
        try {
            if (!lib.gotoBookmark(selected))
                lib.locate(u"Cotacao"_s, {cotacao});
            lib.edit();
            lib.setValue(u"TipoStatus"_s, u"Baixada"_s);
            lib.post();
        } catch (const std::exception &e) {
            lib.cancel();
            frame.fail(errorText(e));
            return false;
        }
    } else {
        m_prompts.message(Erro, u"Alguma coisa aconteceu, tente novamente"_s);
    }
    frame.finish();
    return success;
}

bool ReleasedQuotations::storeItems(ExchangeFrame &frame, const QStringList &lines)
{
    Table &items = m_dm.CotaFornec();
    std::array<int, QuotationItemPositions> column{};
    for (int i = 0; i < QuotationItemPositions; ++i)
        column[i] = quotationItemColumns()[i].isEmpty() ? -1 : items.fieldIndex(quotationItemColumns()[i]);

    // Grids on the items follow once, at the end, not once per row.
    items.disableControls();
    const auto enable = qScopeGuard([&items] { items.enableControls(); });
    std::optional<Transaction> tx;
    try {
        tx.emplace(m_dm.Banco());
        for (const QString &line : lines) {
            const auto fields = recordFields(line, QuotationItemPositions);
            if (!fields)
                continue;
            const QuotationItemLine item = readQuotationItem(*fields);
            const bool found = items.locate(ItemKey, {item.contato(), item.cotacao(), item.data(), item.produto()});
            if (found)
                items.edit();
            else if (!items.append())
                continue; // refused by the data module's guard
            // The key and VALOR of a known row keep their values, so a price
            // already typed survives a repeated download.
            for (int i = found ? FirstUpdatedPosition : 0; i < QuotationItemPositions; ++i) {
                if (column[i] >= 0)
                    items.setValue(column[i], item.values[i]);
            }
            items.post();
        }
        tx->commit();
    } catch (const std::exception &e) {
        items.cancel();
        keepWhatWasStored(tx);
        frame.fail(errorText(e));
        return false;
    }
    return true;
}

QVariant ReleasedQuotations::rowStyle(const QString &tipoStatus, int role)
{
    const QString status = tipoStatus.toUpper();
    const bool aberta = status == u"ABERTA";
    if (!aberta && status != u"BAIXADA")
        return {};
    if (role == Qt::BackgroundRole)
        return QBrush(aberta ? QColor(135, 206, 235) : QColor(192, 220, 192));
    if (role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}
