#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A text file of values as spreadsheet programs save it: one record a line,
// fields separated by ";" (what Brazilian settings give), "," or a tab,
// a field in double quotes when it holds one of those, a quote or a line
// break, a quote inside doubled.
struct CsvFile {
    // Every record in order, a blank line as a record without fields, so
    // that row n of the list is line n + 1 as a spreadsheet program shows it.
    QList<QStringList> rows;
    QChar separator;
    QString encoding; // "UTF-8", "UTF-16" or "Windows-1252"
};

// The most a CSV read in memory may hold.
constexpr qint64 MaxCsvBytes = 256LL * 1024 * 1024;

// Reads the file whole. The encoding is found from the file: a byte order
// mark, else UTF-8 when the bytes are valid UTF-8, else Windows-1252, which
// spreadsheet programs on Brazilian Windows save. The separator is the one of
// ";", "," and tab that the first record holds most of. A file that cannot
// be read, is binary, is too large or ends inside quotes throws
// SpreadsheetError naming the file.
CsvFile readCsvFile(const QString &path, qint64 maxBytes = MaxCsvBytes);

// The same from bytes already read; name is the file shown in messages.
CsvFile parseCsv(const QByteArray &bytes, const QString &name);
