#include "store/store_backup.h"

#include "common/clock.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>

#include <optional>

#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QString Journal = u"-journal"_s;

const QString Part = u".part"_s;

const QString StampFormat = u"yyyyMMdd-HHmmss"_s;

// The names of the store's backups beside it, with what may follow them.
QRegularExpression backupPattern(const QFileInfo &store, const QString &after)
{
    return QRegularExpression(
        u"^"_s + QRegularExpression::escape(store.fileName()) + uR"(\.\d{8}-\d{6}\.bak)"_s + after + u'$');
}

// The backups of the store beside it, oldest first: their names hold the
// time they were made.
QStringList backupNames(const QFileInfo &store)
{
    return store.absoluteDir()
        .entryList(QDir::Files | QDir::Hidden, QDir::Name)
        .filter(backupPattern(store, QString()));
}

QDateTime stampOf(const QFileInfo &store, const QString &backupName)
{
    return QDateTime::fromString(
        backupName.mid(store.fileName().size() + 1, StampFormat.size()), StampFormat);
}

// The lock a writer holds on its ".part" from before the file exists until
// after it is renamed or removed. Only a dead owner makes the lock stale,
// never its age: a copy of a large store may take minutes.
class PartLockFile final {
public:
    explicit PartLockFile(const QString &part)
        : m_lock(part + u".lock"_s)
    {
        m_lock.setStaleLockTime(0);
    }
    bool tryLock() { return m_lock.tryLock(0); }
    QLockFile::LockError error() const { return m_lock.error(); }

private:
    QLockFile m_lock;
};

// Removes a ".part", with its journal, when no running process holds its
// lock; the lock of one that died is taken over and released.
bool removeIfAbandoned(const QString &part)
{
    PartLockFile lock(part);
    if (!lock.tryLock())
        return false;
    QFile::remove(part + Journal);
    return !QFileInfo::exists(part) || QFile::remove(part);
}

// The name of a backup made now. It sorts after every backup there: two
// made in one second must not overwrite each other (the first may hold rows
// the second no longer has), and one made after the clock was put back must
// not be the oldest, which the next pruning deletes.
QString freeBackupName(const QString &storePath)
{
    const QFileInfo store(storePath);
    QDateTime at = Clock::current().now();
    const QStringList names = backupNames(store);
    if (!names.isEmpty()) {
        const QDateTime newest = stampOf(store, names.last());
        if (newest.isValid() && at <= newest)
            at = newest.addSecs(1);
    }
    // Nor may it be one another process is writing at this moment.
    QString name = backupFileName(storePath, at);
    while (QFileInfo::exists(name) || QFileInfo::exists(name + Part)) {
        at = at.addSecs(1);
        name = backupFileName(storePath, at);
    }
    return name;
}

void copyPages(Database &from, Database &to)
{
    sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        to.raise(sqlite3_errcode(to.handle()));
    int rc = SQLITE_OK;
    // Another connection writing at this moment holds the file for a short
    // while: wait for it a few seconds at most.
    for (int waits = 0; waits < 100; ++waits) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        sqlite3_sleep(50);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw StoreError(storeResultText(rc, QString::fromUtf8(sqlite3_errstr(rc))));
}

// Moves a store file together with the journal a crash may have left
// beside it, so that the journal never meets another file. Undoes the first
// move when the second fails.
bool moveStoreFile(const FileRename &rename, const QString &from, const QString &to)
{
    if (!rename(from, to))
        return false;
    if (QFileInfo::exists(from + Journal) && !rename(from + Journal, to + Journal)) {
        rename(to, from);
        return false;
    }
    return true;
}

// Why the file is no sound store; nothing when it is one.
std::optional<QString> storeFileProblem(const QString &full)
{
    if (!QFileInfo(full).isFile())
        return u"o arquivo não existe"_s;
    try {
        Database db;
        db.open(full, storeKey());
        Statement check(db, u"PRAGMA integrity_check"_s);
        QStringList problems;
        while (check.step() && problems.size() < 5)
            problems << check.columnText(0);
        if (problems != QStringList { u"ok"_s })
            return u"a verificação de integridade falhou (%1)"_s.arg(problems.join(u"; "_s));
        Statement table(
            db, u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"_s);
        for (const TableSchema &t : storeSchema()) {
            table.bind(1, t.name);
            if (!table.step())
                return u"falta a tabela %1"_s.arg(t.name);
            table.reset();
        }
    } catch (const StoreError &e) {
        return e.message();
    }
    return std::nullopt;
}

} // namespace

QString backupFileName(const QString &storePath, const QDateTime &at)
{
    return QFileInfo(storePath).absoluteFilePath() + u'.' + at.toString(StampFormat) + u".bak"_s;
}

void writeStoreCopy(Database &db, const QString &target)
{
    db.requireOpen();
    const QString full = QFileInfo(target).absoluteFilePath();
    const auto fail = [&full](const QString &reason) {
        throw StoreError(u"A cópia do banco '%1' não pôde ser gravada: %2"_s.arg(full, reason));
    };
    if (db.inTransaction())
        fail(u"há uma gravação em andamento"_s);
    if (QFileInfo::exists(full))
        fail(u"o arquivo já existe"_s);
    // Written under a name of its own first: a copy cut short never looks
    // like a finished one.
    const QString part = full + Part;
    removeIfAbandoned(part);
    PartLockFile lock(part);
    if (!lock.tryLock())
        fail(lock.error() == QLockFile::LockFailedError ? u"outro processo está gravando esta cópia"_s
                                                        : u"não foi possível criar '%1.lock'"_s.arg(part));
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        fail(file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.close();
    try {
        Database copy;
        copy.open(part, storeKey());
        copyPages(db, copy);
        copy.close();
        if (!QFile::rename(part, full))
            throw StoreError(u"não foi possível dar o nome final ao arquivo"_s);
    } catch (const StoreError &e) {
        QFile::remove(part);
        QFile::remove(part + Journal);
        fail(e.message());
    }
}

BesideBackup backUpBeside(Database &db)
{
    db.requireOpen();
    removeAbandonedParts(db.path());
    BesideBackup made;
    made.path = freeBackupName(db.path());
    writeStoreCopy(db, made.path);
    made.removed = keepNewestBackups(db.path());
    return made;
}

QStringList keepNewestBackups(const QString &storePath, int keep)
{
    const QFileInfo store(storePath);
    const QStringList names = backupNames(store);
    QStringList removed;
    // A backup that cannot be deleted now is deleted by a later purge.
    for (qsizetype i = 0; i + keep < names.size(); ++i) {
        if (store.absoluteDir().remove(names.at(i)))
            removed << names.at(i);
    }
    return removed;
}

void removeAbandonedParts(const QString &storePath)
{
    const QFileInfo store(storePath);
    const QDir dir = store.absoluteDir();
    // A lock or journal alone is left too when the writer died between
    // renaming its copy and releasing them.
    const QStringList strays = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)
                                   .filter(backupPattern(store, uR"(\.part(-journal|\.lock)?)"_s));
    QSet<QString> parts;
    for (const QString &name : strays)
        parts.insert(dir.absoluteFilePath(name.left(name.lastIndexOf(Part) + Part.size())));
    for (const QString &part : std::as_const(parts))
        removeIfAbandoned(part);
}

QList<StoreBackup> storeBackups(const QString &storePath)
{
    const QFileInfo store(storePath);
    const QStringList names = backupNames(store);
    QList<StoreBackup> backups;
    for (auto name = names.crbegin(); name != names.crend(); ++name) {
        StoreBackup backup;
        backup.path = store.absoluteDir().absoluteFilePath(*name);
        backup.madeAt = stampOf(store, *name);
        backup.size = QFileInfo(backup.path).size();
        try {
            Database copy;
            copy.open(backup.path, storeKey());
            const auto rows = [&copy](const QString &table) {
                Statement count(copy, u"SELECT count(*) FROM "_s + table);
                return count.step() ? count.columnInt(0) : 0;
            };
            backup.quotations = rows(cotaLiberadasSchema().name);
            backup.orders = rows(pedidosLiberadosSchema().name);
        } catch (const StoreError &e) {
            backup.quotations = backup.orders = -1;
            backup.problem = e.message();
        }
        backups << backup;
    }
    return backups;
}

void checkStoreFile(const QString &file)
{
    const QString full = QFileInfo(file).absoluteFilePath();
    if (const std::optional<QString> problem = storeFileProblem(full))
        throw StoreError(
            u"O arquivo '%1' não é um banco do CotaKelvo em bom estado: %2"_s.arg(full, *problem));
}

QString restoreStoreFile(const QString &storePath, const QString &file, const FileRename &rename)
{
    const FileRename move
        = rename ? rename : [](const QString &from, const QString &to) { return QFile::rename(from, to); };
    const QString store = QFileInfo(storePath).absoluteFilePath();
    const QString source = QFileInfo(file).absoluteFilePath();
    checkStoreFile(source);
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(store).canonicalFilePath())
        throw StoreError(u"O arquivo '%1' já é o banco em uso"_s.arg(source));

    const auto fail = [&store](const QString &reason) {
        throw StoreError(u"O banco '%1' não foi restaurado e ficou como estava: %2"_s.arg(store, reason));
    };
    // A copy beside the store first: putting it in place is then a rename
    // on one disk, which either happens whole or not at all.
    const QString incoming = store + u".restaurando"_s;
    QFile::remove(incoming);
    if (!QFile::copy(source, incoming))
        fail(u"não foi possível copiar '%1' para '%2'"_s.arg(source, incoming));
    QFile::setPermissions(incoming, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QString kept;
    if (QFileInfo::exists(store)) {
        if (QFileInfo::exists(store + Journal)) {
            // Opening rolls back what a crash left half written.
            try {
                Database settle;
                settle.open(store, storeKey());
            } catch (const StoreError &) {
                // A store that does not open is kept as it is, journal and all.
            }
        }
        kept = freeBackupName(store);
        if (!moveStoreFile(move, store, kept)) {
            QFile::remove(incoming);
            fail(u"não foi possível guardar o banco atual como '%1'"_s.arg(kept));
        }
    }
    if (!move(incoming, store)) {
        QFile::remove(incoming);
        if (!kept.isEmpty() && !moveStoreFile(move, kept, store))
            throw StoreError(u"O banco '%1' não foi restaurado e está guardado em '%2'"_s.arg(store, kept));
        fail(u"não foi possível pôr a cópia no lugar do banco"_s);
    }
    return kept;
}
