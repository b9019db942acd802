#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QString>

#include <optional>

class TDm;
class WorksheetReader;

// What the buttons "Exporta para o Excel" and "Importa do Excel" of the
// price-entry window do: write the items shown (CotacaoFornc as the window
// filtered it) to an .xlsx file, and read prices and similar items back from
// one. Both do nothing while no item is shown.
class SpreadsheetExchange final {
public:
    SpreadsheetExchange(Prompts &prompts, TDm &dm);
    Q_DISABLE_COPY_MOVE(SpreadsheetExchange)

    // Asks where to save and writes the workbook. True when it was written.
    bool exportItems();
    // Asks for a workbook and applies its rows to the items, all of them or
    // none. True when the import completed.
    bool importItems();

    // The column titles, in the order of the grid and of the file.
    static const QStringList &columnTitles();

    // One row of the file to apply to an item.
    struct PriceRow {
        int line = 0; // the row number in the sheet, from 1
        QString marca;
        QString prodfabr;
        std::optional<double> valor; // empty for an empty or zero price
        QString similares;
    };

    // The rows of a sheet, up to the first one whose brand is blank. Throws
    // SpreadsheetError naming the row and column of a cell that cannot be
    // read; nothing past the rows read, nor in the columns the import does
    // not use, can stop it.
    static QList<PriceRow> priceRows(WorksheetReader &sheet);

private:
    QString currentQuotation() const;
    // False when a cell could not be written (nothing is saved then); throws
    // SpreadsheetError when the file could not be saved.
    bool writeWorkbook(const QString &path);
    // Applies the rows in one transaction; the rows that match no item.
    QList<PriceRow> applyRows(const QList<PriceRow> &rows);
    // The rows that found no item, and those whose similar item was longer
    // than the column keeps: nothing the sheet said is dropped unannounced.
    void showImportNotes(
        const QString &cotacao, const QList<PriceRow> &unmatched, const QList<PriceRow> &rows);

    Prompts &m_prompts;
    TDm &m_dm;
};
