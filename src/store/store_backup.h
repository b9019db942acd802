#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Database;

// Copies of the store file, encrypted with the store's key. A copy is made
// through SQLite's backup API from an open connection, never by copying a
// file that may be half written. Every failure throws StoreError with a
// text for the supplier.

// "CotaKelvo.new.20200605-143000.bak" beside the store file.
QString backupFileName(const QString &storePath, const QDateTime &at);

// Writes a copy of the open store to target, which must not exist. The copy
// is readable by its owner only and appears under its name only once it is
// complete: until then it is target + ".part", locked by the writing process
// through target + ".part.lock". A ".part" of target left by a writer that
// died is removed first.
void writeStoreCopy(Database &db, const QString &target);

// A copy made beside the store, and the older backups deleted to keep the
// newest ones.
struct BesideBackup {
    QString path;
    QStringList removed; // file names
};

// The copy made before a purge: beside the store, named by the clock, then
// only the five newest backups are kept. The ".part" files that backups which
// died left beside the store are removed first.
BesideBackup backUpBeside(Database &db);

// Keeps the newest backups of the store beside it, by name, and deletes the
// older ones. Returns the file names it deleted.
QStringList keepNewestBackups(const QString &storePath, int keep = 5);

// Removes the temporary files of backups beside the store whose writing
// process is gone (killed, or the machine went down): a ".part" with its
// journal and lock. One still held by a running process stays.
void removeAbandonedParts(const QString &storePath);

// A backup beside the store, as the supplier chooses among them.
struct StoreBackup {
    QString path;
    QDateTime madeAt; // the time in its name
    qint64 size = 0; // bytes
    // The released quotations and orders it holds, read from it with the
    // store's key; -1 when it cannot be read, and problem says why.
    qint64 quotations = -1;
    qint64 orders = -1;
    QString problem;
};

// The backups beside the store, newest first.
QList<StoreBackup> storeBackups(const QString &storePath);

// Checks that file is a store: it opens with the store's key, passes
// PRAGMA integrity_check and holds the four tables.
void checkStoreFile(const QString &file);

// How a file is moved: QFile::rename, unless a test fails a move on purpose.
using FileRename = std::function<bool(const QString &from, const QString &to)>;

// Puts file in the place of the store at storePath after checkStoreFile,
// keeping the store that was there as a backup beside it (its path is
// returned; empty when there was none). No backup is deleted. The store must
// not be open meanwhile. When a step fails, the store stays where and as it
// was.
QString restoreStoreFile(const QString &storePath, const QString &file, const FileRename &rename = {});
