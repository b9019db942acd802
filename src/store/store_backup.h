#pragma once

#include <QDateTime>
#include <QString>

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
// complete.
void writeStoreCopy(Database &db, const QString &target);

// The copy made before a purge: beside the store, named by the clock, then
// only the five newest backups are kept. Returns its path.
QString backUpBeside(Database &db);

// Keeps the newest backups of the store beside it, by name, and deletes the
// older ones.
void keepNewestBackups(const QString &storePath, int keep = 5);

// Checks that file is a store: it opens with the store's key, passes
// PRAGMA integrity_check and holds the four tables.
void checkStoreFile(const QString &file);

// How a file is moved: QFile::rename, unless a test fails a move on purpose.
using FileRename = std::function<bool(const QString &from, const QString &to)>;

// Puts file in the place of the store at storePath after checkStoreFile,
// keeping the store that was there as a backup beside it (its path is
// returned; empty when there was none). The store must not be open
// meanwhile. When a step fails, the store stays where and as it was.
QString restoreStoreFile(const QString &storePath, const QString &file, const FileRename &rename = {});
