#include "common/clock.h"
#include "store/schema.h"
#include "store/store_backup.h"
#include "store/store_error.h"
#include "support/fixtures.h"
#include "support/owner_only.h"
#include "support/store_test.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

// What the standard SQLCipher client prints for a script on a file.
QStringList sqlcipherClient(const QString &file, const QByteArray &script)
{
    // The file by .open, not on the command line: the client's Windows build
    // reads its command line in the ANSI code page, its input as UTF-8.
    QProcess client;
    client.start(u"sqlcipher"_s, QStringList());
    client.write(".open '" + file.toUtf8() + "'\nPRAGMA key = 'fohwlez';\n" + script);
    client.closeWriteChannel();
    client.waitForFinished(30000);
    return QString::fromUtf8(client.readAllStandardOutput() + client.readAllStandardError())
        .remove(u'\r')
        .split(u'\n', Qt::SkipEmptyParts);
}

QStringList backupsIn(const TempFolder &folder)
{
    return QDir(folder.path()).entryList({ u"*.bak"_s }, QDir::Files, QDir::Name);
}

} // namespace

class StoreBackupTest : public StoreTest {
protected:
    StoreBackupTest() { Clock::setCurrent(&clock); }
    ~StoreBackupTest() override { Clock::setCurrent(nullptr); }

    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(14, 30, 0)) };
};

TEST_F(StoreBackupTest, CopyIsEncryptedWithTheStoreKeyAndOpensInTheStandardClient)
{
    addQuotation(u"C1"_s, u"Baixada"_s);
    addQuotation(u"C2"_s, u"Enviada"_s);
    const QString copy = folder.file(u"copia.bak"_s);
    writeStoreCopy(dm.Banco(), copy);

    EXPECT_NE(folder.read(u"copia.bak"_s).left(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_TRUE(isOwnersOnly(copy));
    EXPECT_EQ(
        sqlcipherClient(copy, "PRAGMA integrity_check;\nSELECT Cotacao FROM CotaLiberadas ORDER BY 1;\n"),
        (QStringList { u"ok"_s, u"C1"_s, u"C2"_s }));
    EXPECT_FALSE(QFileInfo::exists(copy + u".part"_s));

    // Never over an existing file.
    const QByteArray before = folder.read(u"copia.bak"_s);
    EXPECT_THROW(writeStoreCopy(dm.Banco(), copy), StoreError);
    EXPECT_EQ(folder.read(u"copia.bak"_s), before);
}

TEST_F(StoreBackupTest, BackupsBesideTheStoreAreNamedByTheClockAndTheFiveNewestStay)
{
    folder.write(u"CotaKelvo.new.notas.bak"_s, "not a backup of ours");
    folder.write(u"Outro.new.20000101-000000.bak"_s, "another program's");
    QStringList made, removed;
    for (int i = 0; i < 6; ++i) {
        const BesideBackup backup = backUpBeside(dm.Banco());
        made << QFileInfo(backup.path).fileName();
        removed << backup.removed;
        clock.set(clock.now().addSecs(i == 2 ? 0 : 3600)); // two purges in one second once
    }
    EXPECT_EQ(made,
        (QStringList { u"CotaKelvo.new.20200605-143000.bak"_s, u"CotaKelvo.new.20200605-153000.bak"_s,
            u"CotaKelvo.new.20200605-163000.bak"_s,
            // the same second as the one before: the next free one
            u"CotaKelvo.new.20200605-163001.bak"_s, u"CotaKelvo.new.20200605-173000.bak"_s,
            u"CotaKelvo.new.20200605-183000.bak"_s }));
    // A clock put back does not make the new backup the oldest, deleted at once.
    clock.set(QDateTime(QDate(2020, 6, 1), QTime(8, 0)));
    const BesideBackup last = backUpBeside(dm.Banco());
    made << QFileInfo(last.path).fileName();
    removed << last.removed;
    EXPECT_EQ(made.last(), u"CotaKelvo.new.20200605-183001.bak"_s);
    // Each pruning names what it deleted.
    EXPECT_EQ(removed, made.mid(0, 2));
    QStringList expected = made.mid(2);
    expected << u"CotaKelvo.new.notas.bak"_s << u"Outro.new.20000101-000000.bak"_s;
    expected.sort();
    EXPECT_EQ(backupsIn(folder), expected);
}

TEST_F(StoreBackupTest, RestoreRefusesFilesThatAreNoSoundStore)
{
    addQuotation(u"ATUAL"_s, u"Baixada"_s);
    dm.Banco().close();
    const QByteArray current = folder.read(u"CotaKelvo.new"_s);

    {
        Database other;
        QFile(folder.file(u"outra-chave.db"_s)).open(QIODevice::WriteOnly);
        other.open(folder.file(u"outra-chave.db"_s), "outra");
        other.execute(u"CREATE TABLE CotaLiberadas (x)"_s);
    }
    {
        Database empty;
        QFile(folder.file(u"sem-tabelas.db"_s)).open(QIODevice::WriteOnly);
        empty.open(folder.file(u"sem-tabelas.db"_s), storeKey());
    }
    // A store whose pages were damaged after it was written.
    QFile fixture(testsFilePath(QStringLiteral("store/sqlcipher3_store.db")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    QByteArray damaged = fixture.readAll();
    for (qsizetype i = 5000; i < 5200; ++i)
        damaged[i] = char(damaged[i] ^ 0x5A);
    folder.write(u"danificado.db"_s, damaged);

    const struct {
        QString file;
        QString reason;
    } refused[] = {
        { u"nao-existe.db"_s, u"o arquivo não existe"_s },
        { u"outra-chave.db"_s, u"senha errada ou não é um banco de dados"_s },
        { u"sem-tabelas.db"_s, u"falta a tabela CotaLiberadas"_s },
        { u"danificado.db"_s, u"está danificado"_s },
        { u"CotaKelvo.new"_s, u"já é o banco em uso"_s },
    };
    for (const auto &r : refused) {
        try {
            restoreStoreFile(path(), folder.file(r.file));
            ADD_FAILURE() << "restored " << r.file.toStdString();
        } catch (const StoreError &e) {
            EXPECT_TRUE(e.message().contains(r.reason)) << e.message().toStdString();
        }
        EXPECT_EQ(folder.read(u"CotaKelvo.new"_s), current) << r.file.toStdString();
    }
    EXPECT_TRUE(backupsIn(folder).isEmpty());
}

TEST_F(StoreBackupTest, RestorePutsTheFileInPlaceAndKeepsTheStoreThatWasThere)
{
    addQuotation(u"ANTIGA"_s, u"Enviada"_s);
    const QString saved = folder.file(u"salvo.bak"_s);
    writeStoreCopy(dm.Banco(), saved);
    addQuotation(u"NOVA"_s, u"Baixada"_s);
    // As many backups beside the store as a purge keeps.
    for (int i = 0; i < 5; ++i)
        backUpBeside(dm.Banco());
    dm.Banco().close();
    const QByteArray before = folder.read(u"CotaKelvo.new"_s);
    const QStringList backupsBefore = backupsIn(folder);

    // Putting the file in place fails: the store goes back where it was.
    int moves = 0;
    const FileRename failSecond = [&moves](const QString &from, const QString &to) {
        return ++moves != 2 && QFile::rename(from, to);
    };
    EXPECT_THROW(restoreStoreFile(path(), saved, failSecond), StoreError);
    EXPECT_EQ(folder.read(u"CotaKelvo.new"_s), before);
    EXPECT_EQ(backupsIn(folder), backupsBefore);

    const QString kept = restoreStoreFile(path(), saved);
    EXPECT_EQ(QFileInfo(kept).fileName(), u"CotaKelvo.new.20200605-143005.bak"_s);
    EXPECT_EQ(folder.read(QFileInfo(kept).fileName()), before);
    // No backup is deleted: the one restored from, the five and the one kept.
    QStringList all = backupsBefore;
    all << QFileInfo(kept).fileName();
    all.sort();
    EXPECT_EQ(backupsIn(folder), all);
    dm.openStore(path());
    EXPECT_EQ(scalar(u"SELECT group_concat(Cotacao) FROM CotaLiberadas"_s).toString(), u"ANTIGA"_s);
    EXPECT_FALSE(QFileInfo::exists(path() + u".restaurando"_s));
}

namespace {

// Another process that holds the lock of a backup's temporary file, as the
// process writing it does, until it is killed.
class LockHolder final {
public:
    LockHolder(const TempFolder &folder, const QString &part)
    {
        m_process.start(instanceHolderPath(), { folder.path(), part });
        m_held = m_process.waitForReadyRead(30000) && m_process.readLine().trimmed() == "held";
    }
    ~LockHolder() { kill(); }
    bool held() const { return m_held; }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(30000);
    }

private:
    QProcess m_process;
    bool m_held = false;
};

} // namespace

// A backup killed while writing leaves its ".part" (with a journal and its
// lock). The next backup removes what no running process holds, and only
// files of this store's backups.
TEST_F(StoreBackupTest, TheNextBackupRemovesThePartsOfBackupsThatDied)
{
    const QString writing = u"CotaKelvo.new.20200604-090000.bak.part"_s;
    const QString killed = u"CotaKelvo.new.20200603-090000.bak.part"_s;
    folder.write(writing, "being written");
    LockHolder writer(folder, writing);
    ASSERT_TRUE(writer.held());
    folder.write(killed, "cut short");
    folder.write(killed + u"-journal"_s, "journal");
    // Killed: their lock files stay behind, one without its copy (the
    // writer died after renaming it).
    for (const QString &dead : { killed, u"CotaKelvo.new.20200601-090000.bak.part"_s }) {
        LockHolder holder(folder, dead);
        ASSERT_TRUE(holder.held());
    }
    ASSERT_TRUE(QFileInfo::exists(folder.file(killed + u".lock"_s)));
    folder.write(u"CotaKelvo.new.20200602-090000.bak.part"_s, {}); // no lock at all
    const QStringList notOurs { u"CotaKelvo.new.notas.bak.part"_s, u"Outro.new.20200601-090000.bak.part"_s,
        u"CotaKelvo.new.20200601-090000.bak.partes"_s };
    for (const QString &name : notOurs)
        folder.write(name, "someone else's");

    const QString made = backUpBeside(dm.Banco()).path;
    QStringList expected = notOurs;
    expected << writing << writing + u".lock"_s;
    expected.sort();
    EXPECT_EQ(QDir(folder.path()).entryList({ u"*.part*"_s }, QDir::Files, QDir::Name), expected);
    EXPECT_EQ(folder.read(writing), "being written");
    EXPECT_TRUE(QFileInfo::exists(made));

    writer.kill();
    clock.set(clock.now().addSecs(60));
    backUpBeside(dm.Banco());
    expected = notOurs;
    expected.sort();
    EXPECT_EQ(QDir(folder.path()).entryList({ u"*.part*"_s }, QDir::Files, QDir::Name), expected);
}

// A copy named on request finds its own ".part" left by a run that was
// killed: it is written all the same.
TEST_F(StoreBackupTest, ACopyOnRequestReplacesItsOwnAbandonedPart)
{
    const QString copy = folder.file(u"copia.bak"_s);
    folder.write(u"copia.bak.part"_s, "cut short");
    writeStoreCopy(dm.Banco(), copy);
    EXPECT_FALSE(QFileInfo::exists(copy + u".part"_s));
    EXPECT_FALSE(QFileInfo::exists(copy + u".part.lock"_s));
    EXPECT_EQ(sqlcipherClient(copy, "PRAGMA integrity_check;\n"), QStringList { u"ok"_s });

    // While another process writes the same copy, it is left alone.
    const QString other = folder.file(u"outra.bak"_s);
    folder.write(u"outra.bak.part"_s, "being written");
    LockHolder writer(folder, u"outra.bak.part"_s);
    ASSERT_TRUE(writer.held());
    try {
        writeStoreCopy(dm.Banco(), other);
        ADD_FAILURE() << "wrote over a copy being written";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(),
            u"A cópia do banco '%1' não pôde ser gravada: outro processo está gravando esta cópia"_s.arg(
                other));
    }
    EXPECT_EQ(folder.read(u"outra.bak.part"_s), "being written");
}

TEST_F(StoreBackupTest, BackupsAreListedNewestFirstWithWhatTheyHold)
{
    addQuotation(u"C1"_s, u"Baixada"_s);
    backUpBeside(dm.Banco());
    addQuotation(u"C2"_s, u"Baixada"_s);
    exec(u"INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES ('P1', 'Liberado')"_s);
    clock.set(clock.now().addDays(1));
    backUpBeside(dm.Banco());
    // A file named as a backup that is none, and another program's copy.
    folder.write(u"CotaKelvo.new.20200607-080000.bak"_s, QByteArray(3000, 'x'));
    folder.write(u"Outro.new.20200608-080000.bak"_s, "x");

    const QList<StoreBackup> listed = storeBackups(path());
    ASSERT_EQ(listed.size(), 3);
    struct Expected {
        QString name;
        QDateTime madeAt;
        qint64 quotations;
        qint64 orders;
    };
    const Expected expected[] = {
        { u"CotaKelvo.new.20200607-080000.bak"_s, QDateTime(QDate(2020, 6, 7), QTime(8, 0)), -1, -1 },
        { u"CotaKelvo.new.20200606-143000.bak"_s, QDateTime(QDate(2020, 6, 6), QTime(14, 30)), 2, 1 },
        { u"CotaKelvo.new.20200605-143000.bak"_s, QDateTime(QDate(2020, 6, 5), QTime(14, 30)), 1, 0 },
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(listed[i].path, folder.file(expected[i].name));
        EXPECT_EQ(listed[i].madeAt, expected[i].madeAt);
        EXPECT_EQ(listed[i].size, QFileInfo(listed[i].path).size());
        EXPECT_EQ(listed[i].quotations, expected[i].quotations);
        EXPECT_EQ(listed[i].orders, expected[i].orders);
        EXPECT_EQ(listed[i].problem.isEmpty(), expected[i].quotations >= 0)
            << listed[i].problem.toStdString();
    }
    EXPECT_TRUE(listed[0].problem.contains(u"não é um banco de dados"_s)) << listed[0].problem.toStdString();
}
