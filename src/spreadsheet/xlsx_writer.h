#pragma once

#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <memory>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// One workbook with one worksheet. It is built in a private temporary folder
// and copied over the target only when complete, so that a failed write
// never leaves a half file under the chosen name. Rows and columns are
// 0-based.
class XlsxWriter final {
public:
    // Throws SpreadsheetError when the sheet name is not valid or the
    // workbook cannot be started.
    explicit XlsxWriter(const QString &path, const QString &sheetName = QString());
    // Closes silently; while an exception unwinds the caller the workbook is
    // dropped instead, since its cells are incomplete.
    ~XlsxWriter();
    Q_DISABLE_COPY_MOVE(XlsxWriter)

    // An empty text leaves the cell empty. Throws SpreadsheetError for a
    // cell outside the sheet, a text too long for a cell or a number that is
    // not finite.
    void writeText(int row, int col, const QString &text);
    void writeNumber(int row, int col, double value);
    // A number shown by an Excel number format ("0.00", "#,##0.00"), whose
    // separators Excel takes from the reader's regional settings.
    void writeNumber(int row, int col, double value, const QString &numberFormat);
    void setColumnWidth(int col, double characters);

    // Writes the file and replaces the target. Throws SpreadsheetError, with
    // the target as it was, when the folder is missing or not writable, the
    // disk is full or the target cannot be replaced. Later calls do nothing.
    void close();
    // Drops the workbook without writing anything; the target stays as it
    // was. Later calls do nothing.
    void discard();

private:
    void requireOpen() const;
    void checkCell(int error, int row, int col) const;
    void copyToTarget() const;

    QString m_path;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QString m_tempPath;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    QHash<QString, lxw_format *> m_numberFormats; // owned by the workbook
    int m_uncaught = 0;
};
