#pragma once

#include "quotations/last_prices.h"
#include "report/prepared_report.h"
#include "ui/prompts.h"

#include <QString>

#include <functional>
#include <optional>

class Query;
class Dataset;
class TDm;

// What the window "Define Preços dos Itens da Contação" does: choose a
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

    // Stores an item still in edit, as when the grid loses the focus.
    bool postPendingEdit();

    // "Imprime Cotação": stores an item still in edit, then starts the
    // printout of the items shown, in brand order (the index stays in force
    // for the grid). Nothing, with the error shown, when that failed.
    std::optional<ReportPreparation> preparePrintout();
    // The same, shown in the preview. False when nothing was shown.
    bool printQuotation();

    // A price typed in the grid as text, by the regional settings; an empty
    // text empties the price. The error text when it is not a number.
    std::optional<QString> priceProblem(const QString &text) const;

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
    // "Últimos preços": every item without a price takes its last price,
    // after a question that says how many, in one transaction. True when
    // items were filled.
    bool fillLastPrices();

private:
    void showQuotation(const QString &cotacao);
    // Runs one step on the store; a failure is shown in the general error
    // box (the row in edit, if any, cancelled) and gives false.
    bool storeStep(const std::function<void()> &step, Dataset *cancelOnError = nullptr);

    Prompts &m_prompts;
    TDm &m_dm;
    QString m_chosen { NoQuotation };
    int m_compreco = 0;
    int m_sempreco = 0;
};
