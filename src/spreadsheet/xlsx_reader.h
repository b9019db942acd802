#pragma once

#include "spreadsheet/xlsx_limits.h"

#include <QHash>
#include <QString>

enum class CellKind { Empty, Text, Number, Boolean, Error };

// One cell as stored: formula cells by their last computed value, dates as
// the numbers they are stored as (the caller decides what a number means).
struct SheetCell {
    CellKind kind = CellKind::Empty;
    QString text; // Text; the error code ("#DIV/0!") of an Error
    double number = 0; // Number; 1 or 0 for a Boolean
    bool isEmpty() const { return kind == CellKind::Empty; }
};

// The cells of one worksheet, addressed by 0-based row and column. The used
// range runs from A1 to the last row and the last column holding a value.
class Worksheet final {
public:
    QString name() const { return m_name; }
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    // An empty cell anywhere no value was stored.
    const SheetCell &cell(int row, int col) const;

private:
    friend class WorksheetBuilder;
    static quint64 key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }

    QString m_name;
    QHash<quint64, SheetCell> m_cells;
    int m_rows = 0;
    int m_columns = 0;
};

// Reads the first worksheet (in tab order) of an .xlsx workbook. Throws
// SpreadsheetError, naming the file and what is wrong, for a file that is
// not a workbook, a missing or damaged part, XML that is not well-formed, a
// cell value that cannot be read, or a limit passed.
Worksheet readFirstWorksheet(const QString &path, const XlsxLimits &limits = {});
