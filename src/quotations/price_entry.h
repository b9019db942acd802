#pragma once

#include "quotations/last_prices.h"
#include "report/prepared_report.h"
#include "store/price_list_store.h"
#include "store/schema.h"
#include "ui/prompts.h"

#include <QString>

#include <functional>
#include <optional>

class Query;
class PriceListLookup;
class QuotationItemWrites;
class TDm;

// Where a fill takes its prices from: the last price the supplier gave for
// the part in another quotation, or his own price list.
enum class PriceSource { LastPrice, PriceList };

// The list's entry for an item, and whether the item may take its price: a
// price per box is no price per piece.
struct ItemListPrice {
    PriceListMatch found;
    bool unitDiffers = false;
};

// The prices the supplier gave for one part over time, and his list's.
struct PriceHistory {
    QString marca;
    QString prodfabr;
    QString descricao;
    QList<LastPrice> points; // one per quotation, oldest first
    std::optional<double> listPrice;
};

// What "Define Preços dos Itens da Contação" does: choose a
// downloaded quotation, price its items in CotacaoFornc, and declare it
// ready to send. The items shown are CotacaoFornc filtered to the chosen
// quotation; "0" means none is chosen.
class PriceEntry final {
public:
    PriceEntry(Prompts &prompts, TDm &dm);
    Q_DISABLE_COPY_MOVE(PriceEntry)

    static constexpr QLatin1StringView NoQuotation { "0" };

    // No row can be added to the items from here on; no quotation chosen.
    void start();

    // The chosen quotation, as the label lblCota shows it.
    const QString &chosenQuotation() const { return m_chosen; }

    // "Cotações Baixadas": opens CotasBaixadas on "Baixada" and runs the
    // chooser on it; the chooser leaves its choice as the query's current
    // row and returns okfil (true for "Filtra e Sai", false for "Desiste").
    // True when the chooser was left with "Filtra e Sai".
    bool chooseQuotation(const std::function<bool(Query &cotasBaixadas)> &chooser);

    // After a choice: warns, before any price is typed, when the chosen
    // quotation's deadline has passed (the server refuses to take it then).
    // True when it warned.
    bool warnPastDeadline();

    // Counts the items with and without a price (VALOR other than zero).
    void verificaprecos();
    // The same count without moving the current item, as the window shows
    // it: "N de M itens com preço"; empty with no quotation chosen.
    QString pricedCountText() const;

    // The first item shown, from the row `from` on and round from the top,
    // whose brand, maker's code or description holds the text, ignoring
    // accents and letter case; -1 when none does or the text is blank.
    int findItem(const QString &text, int from) const;
    int compreco() const { return m_compreco; }
    int sempreco() const { return m_sempreco; }

    // "Pronto Para envio": after the question, marks the chosen quotation
    // "Enviar" and empties the grid. True when the status was changed.
    bool markReady();

    // F2 in the grid: asks for the observation of the current item and
    // stores it (cancelling the box clears it). False when nothing changed.
    bool editObservation();

    // The grid's delete command: removes the current item after a question.
    bool deleteItem();

    // "Imprime Cotação": starts the printout of the items shown, in brand
    // order. Nothing, with the error shown, when that failed.
    std::optional<ReportPreparation> preparePrintout();
    // The same, shown in the preview. False when nothing was shown.
    bool printQuotation();

    // A price typed in the grid as text, by the regional settings; an empty
    // text empties the price. The error text when it is not a number.
    std::optional<QString> priceProblem(const QString &text) const;

    // A cell of the grid typed in the item at that row (VALOR, a price by
    // the regional settings or empty for none; SIMILARES), stored at once by
    // the item's rowid as the column keeps it. An unchanged value writes
    // nothing. Throws StoreError when it is refused; nothing is written then.
    void storeItemColumn(int row, CotacaoForncColumn column, const QVariant &value);

    // Sets VALOR (and SIMILARES when given) of the shown item with that
    // product code, as typing in the grid does. False, with the message
    // shown, when there is no such item or the price is not a number.
    bool setPrice(const QString &produto, const QString &valor, const std::optional<QString> &similares);
    // Moves to the shown item with that product code (any letter case).
    bool selectItem(const QString &produto);

    // The last price of the current item, from another quotation.
    std::optional<LastPrice> currentLastPrice();
    // The same as the panel under the grid shows it; empty without one.
    QString currentLastPriceText();
    // F3: the current item's last price into its VALOR, stored as typing it
    // would be. False when there is none or it could not be stored.
    bool copyLastPrice();
    // What the panel says when F3 finds no last price for the item.
    static QString noLastPriceText();
    // "Últimos preços" and "Preços da tabela": every item without a price
    // takes its price from the source, after a question that says how many,
    // in one transaction. True when items were filled.
    bool fillPrices(PriceSource source);

    // The current item's entry in the price list; nothing without a list,
    // without an entry, or when the list cannot be read.
    // When conflicting is given, it tells whether nothing was found because
    // the list holds the part written other ways at different prices or units.
    std::optional<ItemListPrice> currentListPrice(bool *conflicting = nullptr);
    // The same as the panel under the grid shows it: the price, how the code
    // matched, or why the item does not take it. Empty without a list.
    QString currentListPriceText();
    // F4: the current item's list price into its VALOR. False when there is
    // none, its unit differs, or it could not be stored.
    bool copyListPrice();
    // What F4 and "Preços da tabela" say while no list is stored.
    static QString noListText();
    // The history of the current item's part: every quotation that priced
    // it (the code matched as the last price matches it) and the list price.
    // Nothing with no item chosen; the store's error is shown.
    std::optional<PriceHistory> currentPriceHistory();
    // A point as the chart names it: its quotation, date and price.
    static QString pointText(const LastPrice &point);

    // "Tabela de preços": asks for a file and replaces the price list.
    bool importPriceList();

private:
    void showQuotation(const QString &cotacao);
    // A quotation is chosen and has items shown.
    bool hasItems() const;
    std::optional<ItemListPrice> listPriceOf(
        PriceListLookup &lookup, const QString &marca, const QString &prodfabr, const QString &un) const;
    // Runs one step on the store; a failure is shown in the general error
    // box and gives false.
    bool storeStep(const std::function<void()> &step);
    // Writes the current item by its rowid and shows the grid the row as
    // stored.
    bool writeCurrentItem(const std::function<bool(QuotationItemWrites &, qint64 rowid)> &write);

    Prompts &m_prompts;
    TDm &m_dm;
    QString m_chosen { NoQuotation };
    int m_compreco = 0;
    int m_sempreco = 0;
};
