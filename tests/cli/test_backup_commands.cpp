#include "app/instance_guard.h"
#include "cli/cli.h"
#include "common/clock.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The tool with the program's single-instance lock in a folder of the test.
CliRun runWithLock(const TempFolder &dir, const TempFolder &locks, const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = runCli(args, dir.path(), o, e, nullptr, locks.path());
    o.flush();
    e.flush();
    return { status, out.split(u'\n', Qt::SkipEmptyParts), err };
}

void release(const QString &store, const QString &cotacao)
{
    Database db;
    db.open(store, storeKey());
    Statement st(db, u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus) VALUES (?, 'ABERTA')"_s);
    st.bindAll({ cotacao });
    st.step();
}

QString released(const QString &store)
{
    Database db;
    db.open(store, storeKey());
    Statement st(db, u"SELECT group_concat(Cotacao) FROM (SELECT Cotacao FROM CotaLiberadas ORDER BY 1)"_s);
    return st.step() ? st.columnText(0) : QString();
}

} // namespace

TEST(BackupCommands, BackupThenRestoreWhileTheProgramIsClosed)
{
    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(14, 30, 0)) };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    TempFolder dir, locks;
    dir.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    ASSERT_EQ(runCliIn(dir, { u"init-db"_s }).status, 0);
    const QString store = dir.file(u"CotaKelvo.new"_s);
    release(store, u"C1"_s);

    const QString copy = dir.file(u"copia.bak"_s);
    const CliRun backup = runCliIn(dir, { u"backup"_s, copy });
    EXPECT_EQ(backup.status, 0);
    EXPECT_EQ(backup.out, QStringList { u"cópia gravada: "_s + copy });
    const CliRun again = runCliIn(dir, { u"backup"_s, copy });
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out,
        QStringList {
            u"[CotaKelvo] A cópia do banco '%1' não pôde ser gravada: o arquivo já existe."_s.arg(copy) });

    release(store, u"C2"_s);
    {
        InstanceGuard running(u"kelvocota"_s, locks.path());
        ASSERT_TRUE(running.acquire());
        const CliRun refused = runWithLock(dir, locks, { u"restore"_s, copy });
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out,
            QStringList { u"[Erro] O programa de cotação está aberto: feche-o antes de restaurar "
                          "o banco."_s });
        EXPECT_EQ(released(store), u"C1,C2"_s);
    }

    const CliRun restored = runWithLock(dir, locks, { u"restore"_s, copy });
    EXPECT_EQ(restored.status, 0);
    const QString kept = dir.file(u"CotaKelvo.new.20200605-143000.bak"_s);
    EXPECT_EQ(restored.out,
        QStringList {
            u"[Atenção] Banco restaurado da cópia %1. O banco que estava em uso foi guardado em %2."_s.arg(
                QDir::toNativeSeparators(copy), QDir::toNativeSeparators(kept)) });
    EXPECT_EQ(released(store), u"C1"_s);
    EXPECT_EQ(released(kept), u"C1,C2"_s);

    // The backups beside the store, as "Restaurar cópia…" lists them.
    EXPECT_EQ(runCliIn(dir, { u"backups"_s }).out,
        QStringList { u"%1|2020-06-05|14:30|%2|2|0|"_s.arg(kept).arg(QFileInfo(kept).size()) });
    const CliRun refused = runWithLock(dir, locks, { u"restore"_s, dir.file(u"server.new"_s) });
    EXPECT_EQ(refused.status, 1);
    ASSERT_EQ(refused.out.size(), 1);
    EXPECT_TRUE(refused.out[0].startsWith(
        u"[CotaKelvo] O arquivo '%1' não é um banco"_s.arg(dir.file(u"server.new"_s))))
        << refused.out[0].toStdString();
    EXPECT_EQ(released(store), u"C1"_s);
}
