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
#include "store/schema.h"
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
    m_chosen = cotacao;
    m_dm.showQuotationItems(cotacao);
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

bool PriceEntry::chooseQuotation(const std::function<bool(Query &)> &chooser)
{
    try {
        Query &baixadas = m_dm.CotasBaixadas();
        baixadas.close();
        baixadas.setParam(u"Status"_s, u"Baixada"_s);
        baixadas.open();
        if (!chooser(baixadas))
            return false;
        showQuotation(baixadas.isEmpty() ? QString(NoQuotation) : baixadas.asString(u"Cotacao"_s));
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool PriceEntry::warnPastDeadline()
{
    const Query &baixadas = m_dm.CotasBaixadas();
    if (m_chosen == NoQuotation || !baixadas.isOpen() || baixadas.isEmpty()
        || baixadas.asString(u"Cotacao"_s) != m_chosen)
        return false;
    const QDate validade = baixadas.asDate(u"DataValidade"_s);
    const QTime hora = baixadas.asTime(u"AteHora"_s);
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
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (m_chosen == NoQuotation || !items.isOpen())
        return {};
    const auto priced = std::count_if(
        items.rows().begin(), items.rows().end(), [](const QuotationItemRow &r) { return r.priced(); });
    return u"%1 de %2 itens com preço"_s.arg(priced).arg(items.rowCount());
}

int PriceEntry::findItem(const QString &text, int from) const
{
    const QString wanted = searchFolded(text.trimmed());
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (wanted.isEmpty() || !items.isOpen() || items.isEmpty())
        return -1;
    const int count = items.rowCount();
    for (int k = 0; k < count; ++k) {
        const int row = (qBound(0, from, count) + k) % count;
        const QuotationItemRow &item = items.at(row);
        for (const QString *text : { &item.marca, &item.prodfabr, &item.descricao })
            if (searchFolded(*text).contains(wanted))
                return row;
    }
    return -1;
}

void PriceEntry::verificaprecos()
{
    m_compreco = 0;
    m_sempreco = 0;
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (!items.isOpen())
        return;
    for (const QuotationItemRow &item : items.rows()) {
        if (item.priced())
            ++m_compreco;
        else
            ++m_sempreco;
    }
}

bool PriceEntry::markReady()
{
    if (!hasItems())
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
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    const QString text = m_prompts.input(
        u"Digite"_s, u"A sua observação :"_s, QString(), cotacaoForncField(CotacaoForncColumn::OBS).size);
    return writeCurrentItem(
        [&](QuotationItemWrites &writes, qint64 rowid) { return writes.setObservation(rowid, text); });
}

bool PriceEntry::writeCurrentItem(const std::function<bool(QuotationItemWrites &, qint64)> &write)
{
    const QuotationItemSet &items = m_dm.CotaFornec();
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
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    if (!m_prompts.ask(Atencao, u"Apagar o item selecionado da cotação?"_s))
        return false;
    return writeCurrentItem([](QuotationItemWrites &writes, qint64 rowid) { return writes.remove(rowid); });
}

std::optional<ReportPreparation> PriceEntry::preparePrintout()
{
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
        cotacaoForncField(CotacaoForncColumn::VALOR).coerce(text);
    } catch (const StoreError &e) {
        return e.message();
    }
    return std::nullopt;
}

void PriceEntry::storeItemColumn(int row, CotacaoForncColumn column, const QVariant &value)
{
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (column != CotacaoForncColumn::VALOR && column != CotacaoForncColumn::SIMILARES)
        throw StoreError(items.objectName() + u": Esta coluna não pode ser alterada"_s);
    const QuotationItemRow &item = items.at(row);
    QVariant now;
    if (column == CotacaoForncColumn::VALOR && item.valor)
        now = *item.valor;
    else if (column == CotacaoForncColumn::SIMILARES && !item.similares.isNull())
        now = item.similares;
    if (cotacaoForncField(column).coerce(value) == now)
        return; // unchanged: the stored bytes stay as they are
    const qint64 rowid = item.rowid;
    const bool found = setColumnAt(m_dm.Banco(), cotacaoForncSchema(), int(column), rowid, value);
    m_dm.Banco().announceRowsWritten(items.tableName(), { rowid });
    if (!found)
        throw StoreError(items.objectName() + u": O registro foi apagado por outra operação."_s);
}

bool PriceEntry::selectItem(const QString &produto)
{
    // The code in any letter case (folded, also beyond ASCII), compared in
    // place: no folded copy of every code on each look-up.
    return m_dm.CotaFornec().locate([&](const QuotationItemRow &item) {
        return item.produto.compare(produto, Qt::CaseInsensitive) == 0;
    });
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
    const QuotationItemSet &items = m_dm.CotaFornec();
    return m_chosen != NoQuotation && items.isOpen() && !items.isEmpty();
}

std::optional<LastPrice> PriceEntry::currentLastPrice()
{
    if (!hasItems())
        return std::nullopt;
    const QuotationItemRow *item = m_dm.CotaFornec().current();
    if (!item)
        return std::nullopt;
    try {
        LastPrices prices(m_dm.Banco());
        return prices.find(m_chosen, item->marca, item->prodfabr);
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
    const QuotationItemRow *item = m_dm.CotaFornec().current();
    if (!item)
        return std::nullopt;
    try {
        PriceListLookup lookup(m_dm.Banco());
        std::optional<ItemListPrice> price = listPriceOf(lookup, item->marca, item->prodfabr, item->un);
        if (conflicting)
            *conflicting = lookup.conflicting();
        return price;
    } catch (const StoreError &) {
        return std::nullopt; // a help only, as the last price is
    }
}

QString PriceEntry::currentListPriceText()
{
    const QuotationItemRow *item = hasItems() ? m_dm.CotaFornec().current() : nullptr;
    if (!item)
        return {};
    const QString un = item->un.trimmed();
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
        return u"Tabela : %1 por %2, o item vem em %3: não é preenchido."_s.arg(
            valor, e.un.trimmed(), un.isEmpty() ? u"(sem unidade)"_s : un);
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
    const QuotationItemRow *item = hasItems() ? m_dm.CotaFornec().current() : nullptr;
    if (!item)
        return std::nullopt;
    PriceHistory history { item->marca, item->prodfabr, item->descricao, {}, {} };
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
    const QuotationItemSet &items = m_dm.CotaFornec();
    const bool fromList = source == PriceSource::PriceList;
    struct Fill {
        qint64 rowid;
        double valor;
    };
    QList<Fill> fills;
    int otherUnit = 0;
    bool hasList = true;
    const bool found = storeStep([&] {
        if (fromList && !priceListSource(m_dm.Banco())) {
            hasList = false;
            return;
        }
        LastPrices lastPrices(m_dm.Banco());
        PriceListLookup lookup(m_dm.Banco());
        struct Wanted {
            const QuotationItemRow *item;
            QString key; // the order of the look-ups
        };
        QList<Wanted> wanted;
        for (const QuotationItemRow &item : items.rows()) {
            if (!item.priced())
                wanted.append({ &item, brandKey(item.marca) + QChar(0xFFFF) + looseCodeKey(item.prodfabr) });
        }
        // In the order of the keys the look-ups search, the index's pages are
        // read once each instead of once an item: on a large list that is
        // most of the time a fill takes.
        std::sort(
            wanted.begin(), wanted.end(), [](const Wanted &a, const Wanted &b) { return a.key < b.key; });
        for (const Wanted &w : wanted) {
            const QuotationItemRow &item = *w.item;
            if (!fromList) {
                if (const auto price = lastPrices.find(m_chosen, item.marca, item.prodfabr))
                    fills.append({ item.rowid, price->valor });
            } else if (const auto price = listPriceOf(lookup, item.marca, item.prodfabr, item.un)) {
                if (price->unitDiffers)
                    ++otherUnit;
                else
                    fills.append({ item.rowid, price->found.entry.valor });
            }
        }
        // Written in the order of the table's rows, for the same reason.
        std::sort(fills.begin(), fills.end(), [](const Fill &a, const Fill &b) { return a.rowid < b.rowid; });
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
            QList<qint64> written;
            written.reserve(fills.size());
            for (const Fill &fill : fills)
                written << fill.rowid;
            db.announceRowsWritten(items.tableName(), written);
        });
        // A price that cannot be stored stops the fill; those before it stay.
        std::optional<Transaction> tx;
        try {
            tx.emplace(db);
            QuotationItemWrites writes(db);
            for (const Fill &fill : fills)
                writes.setPrice(fill.rowid, fill.valor);
            tx->commit();
        } catch (...) {
            keepWhatWasStored(tx);
            throw;
        }
    });
}
