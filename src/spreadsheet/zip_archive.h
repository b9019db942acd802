#pragma once

#include "spreadsheet/xlsx_limits.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>

// A zip file opened for reading parts by name (case-insensitive, as in the
// package format), within the limits given. Every failure, including a
// limit passed, is a SpreadsheetError naming the file and what is wrong.
class ZipArchive final {
public:
    ZipArchive(const QString &path, const XlsxLimits &limits);
    ~ZipArchive();
    Q_DISABLE_COPY_MOVE(ZipArchive)

    bool contains(const QString &name) const;
    // The inflated bytes of a part; throws when it is missing, damaged or
    // passes a limit.
    QByteArray read(const QString &name);

    // The text of a failure about this file: "<start> "file": <reason>."
    QString failure(const QString &reason) const;

private:
    struct Entry {
        quint64 position = 0;
        quint64 directoryIndex = 0;
        QString name;
    };
    void listEntries();
    [[noreturn]] void fail(const QString &reason) const;

    QString m_path;
    XlsxLimits m_limits;
    QFile m_file;
    void *m_zip = nullptr;
    QHash<QString, Entry> m_entries; // by case-folded name
    qint64 m_totalRead = 0;
};
