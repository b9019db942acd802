#pragma once

#include "spreadsheet/column_set.h"
#include "spreadsheet/date_formats.h"
#include "spreadsheet/xlsx_limits.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <memory>
#include <optional>
#include <utility>

class XmlPart;
class ZipArchive;

enum class CellKind {
    Empty,
    Text,
    Number,
    DateTime, // a number shown as a date or a time by its cell's format
    Boolean,
    Error,
    Uncalculated, // a formula saved without its result
};

// One cell as stored: a formula cell by its last computed value.
struct SheetCell {
    CellKind kind = CellKind::Empty;
    QString text; // Text; the error code ("#DIV/0!") of an Error; the formula of an Uncalculated
    double number = 0; // Number; the serial day of a DateTime (days since 1900); 1 or 0 for a Boolean
    bool isEmpty() const { return kind == CellKind::Empty; }
    // Of a DateTime: the day (invalid for a time alone, or out of range) and
    // the time of day.
    QDate date() const;
    QTime time() const;
};

// Reads the first worksheet (in tab order) of an .xlsx workbook row by row,
// keeping only the cells of the columns the caller names at each row and
// decoding a cell only when it is asked for; the rest of the sheet is passed
// over. Every failure throws SpreadsheetError naming the file and what is
// wrong: a file that is not a workbook, a missing or damaged part, XML that
// is not well-formed, a cell asked for whose value cannot be read, or a
// limit passed.
class WorksheetReader final {
public:
    explicit WorksheetReader(const QString &path, const XlsxLimits &limits = {});
    ~WorksheetReader();
    Q_DISABLE_COPY_MOVE(WorksheetReader)

    QString sheetName() const { return m_sheetName; }

    // Moves to the next row the file holds, in order (a writer may leave out
    // rows that hold nothing), keeping the cells of the columns given. False
    // at the end of the sheet.
    bool nextRow(const ColumnSet &columns);
    int row() const { return m_row; } // 0-based
    // A cell of the current row, decoded when first asked for: a value that
    // cannot be read throws then. Empty where nothing was stored or the
    // column was not read.
    const SheetCell &cell(int col) const;
    // The columns kept of the current row that hold a value or a formula, in
    // order.
    QList<int> cellColumns() const;
    // One past the last column holding a value or a formula in the rows
    // passed so far, read or not.
    int usedColumns() const { return m_usedColumns; }

private:
    // A cell of a column read, as the file holds it.
    struct StoredCell {
        int col = 0;
        QString type;
        int style = 0;
        QString value;
        QString formula;
        QString inlineText;
        bool hasValue = false;
        bool hasFormula = false;
        bool hasInline = false;
        mutable std::optional<SheetCell> decoded;
    };

    void readRow(const ColumnSet &columns);
    void storeCell(int col, bool read);
    SheetCell decode(const StoredCell &cell) const;
    int rowNumber(const QString &text) const;

    XlsxLimits m_limits;
    std::unique_ptr<ZipArchive> m_zip;
    QString m_sheetName;
    QStringList m_strings;
    DateFormats m_dateFormats;
    double m_serialOffset = 0; // days added to a serial of the 1904 date system
    std::unique_ptr<XmlPart> m_xml;
    int m_sheetDataDepth = -1; // while inside <sheetData>
    bool m_atEnd = false;
    int m_row = -1;
    QList<StoredCell> m_cells; // of the current row, by column
    int m_usedColumns = 0;
    qint64 m_cellCount = 0;
};

class Worksheet;
// The first worksheet whole (or the columns given), for sheets small enough
// to hold in memory.
Worksheet readFirstWorksheet(
    const QString &path, const XlsxLimits &limits = {}, const ColumnSet &columns = ColumnSet::all());

// The cells of one worksheet read at once, addressed by 0-based row and
// column. The used range runs from A1 to the last row and the last column
// holding a value.
class Worksheet final {
public:
    QString name() const { return m_name; }
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    // An empty cell anywhere no value was stored.
    const SheetCell &cell(int row, int col) const;

private:
    friend Worksheet readFirstWorksheet(const QString &, const XlsxLimits &, const ColumnSet &);
    static quint64 key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }

    QString m_name;
    QHash<quint64, SheetCell> m_cells;
    int m_rows = 0;
    int m_columns = 0;
};
