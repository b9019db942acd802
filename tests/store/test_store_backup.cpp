#include "common/clock.h"
#include "store/store_backup.h"
#include "support/owner_only.h"
#include "support/test_store.h"

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
    QStringList made;
    for (int i = 0; i < 6; ++i) {
        made << QFileInfo(backUpBeside(dm.Banco())).fileName();
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
    made << QFileInfo(backUpBeside(dm.Banco())).fileName();
    EXPECT_EQ(made.last(), u"CotaKelvo.new.20200605-183001.bak"_s);
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
    QFile fixture(QStringLiteral(KELVO_SOURCE_DIR "/tests/store/sqlcipher3_store.db"));
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
        { u"outra-chave.db"_s, u"wrong password or not a database"_s },
        { u"sem-tabelas.db"_s, u"falta a tabela CotaLiberadas"_s },
        { u"danificado.db"_s, u"malformed"_s },
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
    dm.Banco().close();
    const QByteArray before = folder.read(u"CotaKelvo.new"_s);

    // Putting the file in place fails: the store goes back where it was.
    int moves = 0;
    const FileRename failSecond = [&moves](const QString &from, const QString &to) {
        return ++moves != 2 && QFile::rename(from, to);
    };
    EXPECT_THROW(restoreStoreFile(path(), saved, failSecond), StoreError);
    EXPECT_EQ(folder.read(u"CotaKelvo.new"_s), before);
    EXPECT_TRUE(backupsIn(folder).filter(u"CotaKelvo"_s).isEmpty());

    const QString kept = restoreStoreFile(path(), saved);
    EXPECT_EQ(QFileInfo(kept).fileName(), u"CotaKelvo.new.20200605-143000.bak"_s);
    EXPECT_EQ(folder.read(QFileInfo(kept).fileName()), before);
    EXPECT_TRUE(QFileInfo::exists(saved));
    dm.openStore(path());
    EXPECT_EQ(scalar(u"SELECT group_concat(Cotacao) FROM CotaLiberadas"_s).toString(), u"ANTIGA"_s);
    EXPECT_FALSE(QFileInfo::exists(path() + u".restaurando"_s));
}
