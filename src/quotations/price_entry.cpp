#include "quotations/price_entry.h"

#include "common/clock.h"
#include "common/part_code.h"
#include "common/regional.h"
#include "common/text.h"
#include "quotations/price_list.h"
#include "quotations/quotation_deadline.h"
#include "quotations/quotation_report.h"
#include "store/batch_write.h"
#include "store/data_module.h"
#include "store/item_writes.h"
#include "store/released_writes.h"
#include "store/store_error.h"
#include "ui/prompts.h"

#include <QScopeGuard>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;

// A unit as two writings of it compare: "pç", "PC" and " Pc " are one unit.
QString unitKey(const QString &un)
{
    return searchFolded(un).remove(u' ');
}

} // namespace

PriceEntry::PriceEntry(Prompts &prompts, TDm &dm)
    : m_prompts(prompts)
    , m_dm(dm)
{
}

bool PriceEntry::storeStep(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

void PriceEntry::showQuotation(const QString &cotacao)
{
    Table &items = m_dm.CotaFornec();
    items.close();
    items.setFilter(u"COTACAO = ?"_s, { cotacao });
    items.setFiltered(true);
    m_chosen = cotacao;
    items.open();
}

void PriceEntry::start()
{
    m_dm.setPodeIcota(false);
    try {
        showQuotation(NoQuotation);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
}

bool PriceEntry::chooseQuotation(const std::function<bool(ReleasedQuotationSet &)> &chooser)
{
    try {
        ReleasedQuotationSet &baixadas = m_dm.CotasBaixadas();
        baixadas.close();
        baixadas.open();
        if (!chooser(baixadas))
            return false;
        const ReleasedQuotationRow *chosen = baixadas.current();
        showQuotation(chosen ? chosen->cotacao : QString(NoQuotation));
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool PriceEntry::warnPastDeadline()
{
    const ReleasedQuotationRow *chosen = m_dm.CotasBaixadas().current();
    if (m_chosen == NoQuotation || !chosen || chosen->cotacao != m_chosen)
        return false;
    const QDate validade = chosen->dataValidade;
    const QTime hora = chosen->ateHora;
    const std::optional<QDateTime> deadline = quotationDeadline(validade, hora);
    if (!deadline || minutesLeft(*deadline, Clock::current().now()) >= 0)
        return false;
    const QString when = dateText(validade, u"dd/mm/yyyy"_s)
        + (hora.isValid() ? u" às "_s + timeText(hora, u"hh:nn"_s) : QString());
    m_prompts.message(Atencao,
        u"O prazo para responder a cotação : "_s + m_chosen + u" venceu em "_s + when
            + u". Os preços podem ser digitados, mas o Kelvo vai recusar o envio desta cotação."_s,
        PromptIcon::Warning);
    return true;
}

QString PriceEntry::pricedCountText() const
{
    const Table &items = m_dm.CotaFornec();
    if (m_chosen == NoQuotation || !items.isOpen())
        return {};
    const int valor = items.fieldIndex(u"VALOR"_s);
    int priced = 0;
    for (int row = 0; row < items.rowCount(); ++row)
        if (items.value(row, valor).toDouble() != 0)
            ++priced;
    return u"%1 de %2 itens com preço"_s.arg(priced).arg(items.rowCount());
}

int PriceEntry::findItem(const QString &text, int from) const
{
    const QString wanted = searchFolded(text.trimmed());
    const Table &items = m_dm.CotaFornec();
    if (wanted.isEmpty() || !items.isOpen() || items.isEmpty())
        return -1;
    const int count = items.rowCount();
    const int columns[]
        = { items.fieldIndex(u"MARCA"_s), items.fieldIndex(u"PRODFABR"_s), items.fieldIndex(u"DESCRICAO"_s) };
    for (int k = 0; k < count; ++k) {
        const int row = (qBound(0, from, count) + k) % count;
        for (const int column : columns)
            if (searchFolded(items.value(row, column).toString()).contains(wanted))
                return row;
    }
    return -1;
}

void PriceEntry::verificaprecos()
{
    m_compreco = 0;
    m_sempreco = 0;
    Table &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return;
    const int valor = items.fieldIndex(u"VALOR"_s);
    // The grid follows once, at the end of the walk.
    items.disableControls();
    const auto enable = qScopeGuard([&items] { items.enableControls(); });
    for (items.first(); !items.eof(); items.next()) {
        if (items.value(valor).toDouble() != 0)
            ++m_compreco;
        else
            ++m_sempreco;
    }
}

bool PriceEntry::markReady()
{
    if (m_chosen == NoQuotation)
        return false;
    Table &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    verificaprecos();
    const QString question = u"Você colocou preços em : "_s + QString::number(m_compreco)
        + u" produtos, e deixou sem preços : "_s + QString::number(m_sempreco)
        + u", tornando pronta para envio, não vai poder mais fazer alterações. Ok???"_s;
    if (!m_prompts.ask(Atencao, question))
        return false;
    return storeStep([this] {
        setQuotationStatus(m_dm.Banco(), m_chosen, u"Enviar"_s);
        showQuotation(NoQuotation);
    });
}

bool PriceEntry::editObservation()
{
    Table &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    const QString text
        = m_prompts.input(u"Digite"_s, u"A sua observação :"_s, QString(), items.fieldByName(u"OBS"_s).size);
    return writeCurrentItem(
        [&](QuotationItemWrites &writes, qint64 rowid) { return writes.setObservation(rowid, text); });
}

bool PriceEntry::writeCurrentItem(const std::function<bool(QuotationItemWrites &, qint64)> &write)
{
    if (!postPendingEdit())
        return false;
    Table &items = m_dm.CotaFornec();
    const qint64 rowid = items.currentRowId();
    if (rowid < 0)
        return false;
    return storeStep([&] {
        QuotationItemWrites writes(m_dm.Banco());
        const bool found = write(writes, rowid);
        m_dm.Banco().announceRowsWritten(items.tableName(), { rowid });
        if (!found) // deleted by another operation since the grid read it
            throw StoreError(items.objectName() + u": O registro foi apagado por outra operação."_s);
    });
}

bool PriceEntry::deleteItem()
{
    Table &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    if (!m_prompts.ask(Atencao, u"Apagar o item selecionado da cotação?"_s))
        return false;
    return writeCurrentItem([](QuotationItemWrites &writes, qint64 rowid) { return writes.remove(rowid); });
}

bool PriceEntry::postPendingEdit()
{
    Table &items = m_dm.CotaFornec();
    if (!items.isEditing())
        return true;
    return storeStep([&] {
        if (items.isModified())
            items.post();
        else
            items.cancel();
    });
}

std::optional<ReportPreparation> PriceEntry::preparePrintout()
{
    if (!postPendingEdit())
        return std::nullopt;
    try {
        return quotationReport(m_dm);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
    return std::nullopt;
}

bool PriceEntry::printQuotation()
{
    std::optional<ReportPreparation> report = preparePrintout();
    if (!report)
        return false;
    m_prompts.previewReport(*report);
    return true;
}

std::optional<QString> PriceEntry::priceProblem(const QString &text) const
{
    try {
        m_dm.CotaFornec().fieldByName(u"VALOR"_s).coerce(text);
    } catch (const StoreError &e) {
        return e.message();
    }
    return std::nullopt;
}

bool PriceEntry::selectItem(const QString &produto)
{
    Table &items = m_dm.CotaFornec();
    return items.isOpen() && items.locate(u"PRODUTO"_s, { produto });
}

bool PriceEntry::setPrice(
    const QString &produto, const QString &valor, const std::optional<QString> &similares)
{
    if (!selectItem(produto)) {
        m_prompts.message(u"Erro"_s, u"O produto : "_s + produto + u" não está na cotação : "_s + m_chosen);
        return false;
    }
    if (const auto problem = priceProblem(valor)) {
        m_prompts.error(*problem);
        return false;
    }
    return writeCurrentItem([&](QuotationItemWrites &writes, qint64 rowid) {
        return similares ? writes.setPriceAndSimilares(rowid, valor, *similares)
                         : writes.setPrice(rowid, valor);
    });
}

bool PriceEntry::hasItems() const
{
    const Table &items = m_dm.CotaFornec();
    return m_chosen != NoQuotation && items.isOpen() && !items.isEmpty();
}

std::optional<LastPrice> PriceEntry::currentLastPrice()
{
    if (!hasItems())
        return std::nullopt;
    Table &items = m_dm.CotaFornec();
    try {
        LastPrices prices(m_dm.Banco());
        return prices.find(m_chosen, items.asString(u"MARCA"_s), items.asString(u"PRODFABR"_s));
    } catch (const StoreError &) {
        return std::nullopt; // a help only: the store's error shows where the supplier acts
    }
}

QString PriceEntry::currentLastPriceText()
{
    const std::optional<LastPrice> price = currentLastPrice();
    if (!price)
        return {};
    QString text = u"Último preço (F3) : "_s + numberText(price->valor, u"0.00"_s) + u" - Cotação : "_s
        + price->cotacao + u" de "_s + dateText(price->data, u"dd/mm/yyyy"_s);
    if (price->match == CodeMatch::Loose)
        text += u" (código escrito de outro modo)"_s;
    return text;
}

QString PriceEntry::noLastPriceText()
{
    return u"Sem último preço para este item."_s;
}

bool PriceEntry::copyLastPrice()
{
    const std::optional<LastPrice> price = currentLastPrice();
    if (!price)
        return false;
    return writeCurrentItem(
        [&](QuotationItemWrites &writes, qint64 rowid) { return writes.setPrice(rowid, price->valor); });
}

std::optional<ItemListPrice> PriceEntry::listPriceOf(
    PriceListLookup &lookup, const QString &marca, const QString &prodfabr, const QString &un) const
{
    const std::optional<PriceListMatch> found = lookup.find(marca, prodfabr);
    if (!found)
        return std::nullopt;
    // A list without a unit for the part leaves the unit to the supplier.
    const bool differs = !found->entry.un.trimmed().isEmpty() && unitKey(found->entry.un) != unitKey(un);
    return ItemListPrice { *found, differs };
}

std::optional<ItemListPrice> PriceEntry::currentListPrice(bool *conflicting)
{
    if (!hasItems())
        return std::nullopt;
    Table &items = m_dm.CotaFornec();
    try {
        PriceListLookup lookup(m_dm.Banco());
        std::optional<ItemListPrice> price = listPriceOf(
            lookup, items.asString(u"MARCA"_s), items.asString(u"PRODFABR"_s), items.asString(u"UN"_s));
        if (conflicting)
            *conflicting = lookup.conflicting();
        return price;
    } catch (const StoreError &) {
        return std::nullopt; // a help only, as the last price is
    }
}

QString PriceEntry::currentListPriceText()
{
    if (!hasItems())
        return {};
    Table &items = m_dm.CotaFornec();
    bool hasList = false;
    try {
        hasList = priceListSource(m_dm.Banco()).has_value();
    } catch (const StoreError &) {
        return {};
    }
    if (!hasList)
        return {};
    bool conflicting = false;
    const std::optional<ItemListPrice> price = currentListPrice(&conflicting);
    if (!price && conflicting)
        return u"Tabela : código repetido com preço ou unidade diferente: não é preenchido."_s;
    if (!price)
        return u"Item fora da tabela de preços."_s;
    const PriceListEntry &e = price->found.entry;
    const QString valor = numberText(e.valor, u"0.00"_s);
    if (price->unitDiffers)
        return u"Tabela : %1 por %2, o item vem em %3: não é preenchido."_s.arg(valor, e.un.trimmed(),
            items.asString(u"UN"_s).trimmed().isEmpty() ? u"(sem unidade)"_s
                                                        : items.asString(u"UN"_s).trimmed());
    if (price->found.match == CodeMatch::Exact)
        return u"Tabela (F4) : %1 - mesmo código"_s.arg(valor);
    return u"Tabela (F4) : %1 - código escrito de outro modo: %2"_s.arg(valor, e.prodfabr);
}

bool PriceEntry::copyListPrice()
{
    const std::optional<ItemListPrice> price = currentListPrice();
    if (!price || price->unitDiffers)
        return false;
    return writeCurrentItem([&](QuotationItemWrites &writes, qint64 rowid) {
        return writes.setPrice(rowid, price->found.entry.valor);
    });
}

std::optional<PriceHistory> PriceEntry::currentPriceHistory()
{
    if (!hasItems())
        return std::nullopt;
    Table &items = m_dm.CotaFornec();
    PriceHistory history { items.asString(u"MARCA"_s), items.asString(u"PRODFABR"_s),
        items.asString(u"DESCRICAO"_s), {}, {} };
    if (!storeStep([&] {
            LastPrices prices(m_dm.Banco());
            history.points = prices.history(history.marca, history.prodfabr);
            PriceListLookup lookup(m_dm.Banco());
            if (const auto listed = lookup.find(history.marca, history.prodfabr))
                history.listPrice = listed->entry.valor;
        }))
        return std::nullopt;
    return history;
}

QString PriceEntry::pointText(const LastPrice &point)
{
    QString text = u"Cotação : "_s + point.cotacao + u" de "_s + dateText(point.data, u"dd/mm/yyyy"_s)
        + u" - "_s + numberText(point.valor, u"0.00"_s);
    if (point.match == CodeMatch::Loose)
        text += u" (código escrito de outro modo)"_s;
    return text;
}

QString PriceEntry::noListText()
{
    return u"Não há tabela de preços: importe uma com \"Tabela de preços\"."_s;
}

bool PriceEntry::importPriceList()
{
    PriceList list(m_prompts, m_dm.Banco());
    return list.chooseAndImport();
}

bool PriceEntry::fillPrices(PriceSource source)
{
    if (!hasItems())
        return false;
    Table &items = m_dm.CotaFornec();
    const bool fromList = source == PriceSource::PriceList;
    struct Fill {
        Bookmark item;
        double valor;
    };
    QList<Fill> fills;
    int otherUnit = 0;
    bool hasList = true;
    const Bookmark where = items.bookmark();
    const bool found = storeStep([&] {
        if (fromList && !priceListSource(m_dm.Banco())) {
            hasList = false;
            return;
        }
        LastPrices lastPrices(m_dm.Banco());
        PriceListLookup lookup(m_dm.Banco());
        const int valor = items.fieldIndex(u"VALOR"_s);
        const int marca = items.fieldIndex(u"MARCA"_s);
        const int prodfabr = items.fieldIndex(u"PRODFABR"_s);
        const int un = items.fieldIndex(u"UN"_s);
        items.disableControls();
        const auto enable = qScopeGuard([&] {
            items.gotoBookmark(where);
            items.enableControls();
        });
        struct Wanted {
            Bookmark item;
            QString marca;
            QString prodfabr;
            QString un;
            QString key; // the order of the look-ups
        };
        QList<Wanted> wanted;
        for (items.first(); !items.eof(); items.next()) {
            if (items.value(valor).toDouble() != 0)
                continue;
            Wanted w { items.bookmark(), items.value(marca).toString(), items.value(prodfabr).toString(),
                items.value(un).toString(), {} };
            w.key = brandKey(w.marca) + QChar(0xFFFF) + looseCodeKey(w.prodfabr);
            wanted.append(std::move(w));
        }
        // In the order of the keys the look-ups search, the index's pages are
        // read once each instead of once an item: on a large list that is
        // most of the time a fill takes.
        std::sort(
            wanted.begin(), wanted.end(), [](const Wanted &a, const Wanted &b) { return a.key < b.key; });
        for (const Wanted &w : wanted) {
            if (!fromList) {
                if (const auto price = lastPrices.find(m_chosen, w.marca, w.prodfabr))
                    fills.append({ w.item, price->valor });
            } else if (const auto price = listPriceOf(lookup, w.marca, w.prodfabr, w.un)) {
                if (price->unitDiffers)
                    ++otherUnit;
                else
                    fills.append({ w.item, price->found.entry.valor });
            }
        }
        // Written in the order of the table's rows, for the same reason.
        std::sort(
            fills.begin(), fills.end(), [](const Fill &a, const Fill &b) { return a.item.id < b.item.id; });
    });
    if (!found)
        return false;
    if (!hasList) {
        m_prompts.message(Atencao, noListText());
        return false;
    }
    // Items left out for their unit are named in every answer, so that the
    // supplier knows to price them himself.
    const QString unitNotes = otherUnit == 0 ? QString()
        : otherUnit == 1                     ? u" 1 item da tabela com outra unidade não será preenchido."_s
                         : u" %1 itens da tabela com outra unidade não serão preenchidos."_s.arg(otherUnit);
    if (fills.isEmpty()) {
        m_prompts.message(Atencao,
            (fromList ? u"Nenhum item sem preço está na tabela de preços."_s
                      : u"Nenhum item sem preço tem um último preço."_s)
                + unitNotes);
        return false;
    }
    const QString what = fromList ? u"o preço da tabela "_s : u"o último preço "_s;
    const QString count = fills.size() == 1
        ? u"Será preenchido com "_s + what + u"1 item sem preço."_s
        : u"Serão preenchidos com "_s + what + QString::number(fills.size()) + u" itens sem preço."_s;
    if (!m_prompts.ask(Atencao, count + unitNotes + u" Confirma???"_s))
        return false;
    return storeStep([&] {
        Database &db = m_dm.Banco();
        const auto follow = qScopeGuard([&] {
            db.announceWritten({ u"CotacaoFornc"_s });
            items.gotoBookmark(where);
        });
        // A price that cannot be stored stops the fill; those before it stay.
        std::optional<Transaction> tx;
        try {
            tx.emplace(db);
            QuotationItemWrites writes(db);
            for (const Fill &fill : fills)
                writes.setPrice(fill.item.id, fill.valor);
            tx->commit();
        } catch (...) {
            keepWhatWasStored(tx);
            throw;
        }
    });
}
