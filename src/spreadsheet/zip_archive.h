#pragma once

#include "spreadsheet/xlsx_limits.h"

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

// A zip file opened for reading parts by name (case-insensitive, as in the
// package format), within the limits given. Every failure, including a
// limit passed, is a SpreadsheetError naming the file and what is wrong.
class ZipArchive final {
public:
    ZipArchive(const QString &path, const XlsxLimits &limits);
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
    struct ZipCloser {
        void operator()(void *zip) const;
    };
    void *zip() const { return m_zip.get(); }
    void listEntries();
    [[noreturn]] void fail(const QString &reason) const;

    QString m_path;
    XlsxLimits m_limits;
    // The whole file, read once: minizip reads its headers a byte at a time
    // and seeks back and forth, which on the file itself was a system call
    // each (a damaged index of a few kilobytes took a million of them).
    QByteArray m_bytes;
    QBuffer m_device;
    // Released also when the constructor fails after opening it.
    std::unique_ptr<void, ZipCloser> m_zip;
    QHash<QString, Entry> m_entries; // by case-folded name
    qint64 m_totalRead = 0;
};
