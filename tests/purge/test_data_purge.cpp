#include "common/clock.h"
#include "purge/data_purge.h"
#include "purge_fixture.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate CutOff(2020, 6, 5);
const QString Everything = u"CL:a,b,c,d,e,f,g PL:a,b,c,d,e,f,g CB:a,b,c,d,f,g PB:a,b,c,d,f,g"_s;

// Rows around the cut-off of 5 June 2020 in every table.
void seed(PurgeStore &store)
{
    store.addAll(u"a"_s, u"2019-12-31"_s); // before, though "31/12/2019" > "05/06/2020" as texts
    store.addAll(u"b"_s, u"2020-06-05"_s); // the cut-off day itself
    store.addAll(u"c"_s, u"2020-06-06"_s);
    store.addAll(u"d"_s, u""_s); // empty
    store.addAll(u"e"_s, QVariant()); // null
    store.addAll(u"f"_s, u"05/06/2020"_s); // no date of the store's form
    store.addAll(u"g"_s, u"2020-06-05 18:30:00"_s);
}

// Each box up to its first line break: a purge's own message, without the
// lines about the copy made before it.
QStringList firstLines(const QStringList &boxes)
{
    QStringList out;
    for (const QString &box : boxes)
        out << box.section(u'\n', 0, 0);
    return out;
}

class DataPurgeTest : public ::testing::Test {
protected:
    DataPurgeTest() { seed(store); }

    PurgeStore store;
    ScriptedPrompts prompts;
};

} // namespace

TEST(DataPurge, EachKindDeletesOnlyItsOwnRowsUpToTheDay)
{
    struct Case {
        QString code;
        QString left;
        QString name;
    };
    const QList<Case> cases {
        { u"CL"_s, u"CL:c,d,e,f PL:a,b,c,d,e,f,g CB:a,b,c,d,f,g PB:a,b,c,d,f,g"_s, u"Cotações Liberadas"_s },
        { u"PL"_s, u"CL:a,b,c,d,e,f,g PL:c,d,e,f CB:a,b,c,d,f,g PB:a,b,c,d,f,g"_s, u"Pedidos Liberados"_s },
        { u"CB"_s, u"CL:a,b,c,d,e,f,g PL:a,b,c,d,e,f,g CB:c,d,f PB:a,b,c,d,f,g"_s, u"Cotações Baixadas"_s },
        { u"PB"_s, u"CL:a,b,c,d,e,f,g PL:a,b,c,d,e,f,g CB:a,b,c,d,f,g PB:c,d,f"_s, u"Pedidos Baixados"_s },
        // Codes are compared exactly: nothing runs and the name stays empty.
        { u"cl"_s, Everything, QString() },
    };
    for (const Case &c : cases) {
        PurgeStore store;
        seed(store);
        ScriptedPrompts prompts;
        DataPurge purge(prompts, store.dm);
        EXPECT_TRUE(purge.purgeKind(CutOff, c.code)) << c.code.toStdString();
        EXPECT_EQ(store.left(), c.left) << c.code.toStdString();
        EXPECT_EQ(firstLines(prompts.boxes()),
            QStringList { u"[Atenção] Processo finalizado.... apagados "_s + c.name });
    }
}

TEST_F(DataPurgeTest, AllPurgeAsksFirstAndRunsTheFourDeletions)
{
    DataPurge purge(prompts, store.dm);
    ASSERT_TRUE(purge.refreshLists());

    prompts.answers = { false };
    EXPECT_FALSE(purge.purgeAll(CutOff));
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Todos os dados da data = 05/06/2020 para traz serão "
                      "apagados. Confirma???"_s });
    EXPECT_EQ(store.left(), Everything);

    // A purge that matches nothing still ends with its message.
    prompts.clear();
    prompts.answers = { true };
    EXPECT_TRUE(purge.purgeAll(QDate(2000, 1, 1)));
    EXPECT_EQ(firstLines(prompts.boxes()).last(), u"[Atenção] Processo finalizado.... apagados Todos"_s);
    EXPECT_EQ(store.left(), Everything);

    prompts.answers = { true };
    EXPECT_TRUE(purge.purgeAll(CutOff));
    EXPECT_EQ(store.left(), u"CL:c,d,e,f PL:c,d,e,f CB:c,d,f PB:c,d,f"_s);
    EXPECT_FALSE(store.dm.Banco().inTransaction());
    // The lists show what is left.
    EXPECT_EQ(purge.CotasLiberadas().rowCount(), 4);
    EXPECT_EQ(purge.PedidosBaixados().rowCount(), 3);

    // A purge code left empty from the arrows' path asks as well.
    prompts.clear();
    EXPECT_FALSE(purge.purgeKind(CutOff, QString()));
    EXPECT_EQ(prompts.boxes().size(), 1);
}

// The released quotations go, their items stay until they are purged too,
// and the other way round.
TEST_F(DataPurgeTest, KindsAreIndependent)
{
    store.exec(u"UPDATE CotacaoFornc SET DATA = '2020-07-01' WHERE COTACAO = 'b'"_s);
    store.exec(u"UPDATE CotaLiberadas SET DataLiberada = '2020-07-01' WHERE Cotacao = 'a'"_s);
    DataPurge purge(prompts, store.dm);
    purge.purgeKind(CutOff, u"CL"_s);
    purge.purgeKind(CutOff, u"CB"_s);
    EXPECT_EQ(store.rows(u"SELECT Cotacao FROM CotaLiberadas ORDER BY 1"_s),
        (QStringList { u"a"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s }));
    EXPECT_EQ(store.rows(u"SELECT COTACAO FROM CotacaoFornc ORDER BY 1"_s),
        (QStringList { u"b"_s, u"c"_s, u"d"_s, u"f"_s }));
}

TEST(DataPurge, ListsShowEachKindNewestFirst)
{
    PurgeStore store;
    store.addAll(u"b"_s, u"2020-06-05"_s);
    store.addAll(u"a"_s, u"2019-12-31"_s);
    store.addAll(u"c"_s, u"2020-06-06"_s);
    store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, TIPOSTATUS) "
               "VALUES ('ACME', 'c', '2020-06-06', 'P2', 'ABERTA')"_s);
    ScriptedPrompts prompts;
    DataPurge purge(prompts, store.dm);
    ASSERT_TRUE(purge.refreshLists());
    const auto listed = [](const DataPurge::List &list) {
        QStringList out;
        for (const DatedKeyRow &r : list.rows())
            out << r.key + u'@' + r.date.toString(Qt::ISODate);
        return out;
    };
    const QStringList newestFirst { u"c@2020-06-06"_s, u"b@2020-06-05"_s, u"a@2019-12-31"_s };
    EXPECT_EQ(listed(purge.CotasLiberadas()), newestFirst);
    EXPECT_EQ(listed(purge.CotaBaixadas()), newestFirst); // two items of one quotation and day: one row
    EXPECT_EQ(listed(purge.PedidosLiberados()), newestFirst);
    EXPECT_EQ(listed(purge.PedidosBaixados()), newestFirst);
    // The items' list of quotations shows their status; that of orders has none.
    EXPECT_EQ(purge.CotaBaixadas().at(0).tipoStatus, u"ABERTA"_s);
    EXPECT_TRUE(purge.PedidosBaixados().at(0).tipoStatus.isEmpty());
}

// A statement the store refuses stops the all-purge there: what ran before
// it stays done, nothing after it runs, no closing message, and the lists
// are left as they were.
TEST_F(DataPurgeTest, FailingStatementStopsTheAllPurge)
{
    DataPurge purge(prompts, store.dm);
    ASSERT_TRUE(purge.refreshLists());
    store.exec(u"DROP TABLE CotacaoFornc"_s);
    prompts.answers = { true };
    EXPECT_FALSE(purge.purgeAll(CutOff));
    ASSERT_EQ(prompts.boxes().size(), 2);
    EXPECT_TRUE(prompts.boxes().last().startsWith(u"[CotaKelvo] "_s)) << prompts.boxes().last().toStdString();
    EXPECT_TRUE(prompts.boxes().last().contains(u"CotacaoFornc"_s, Qt::CaseInsensitive));
    EXPECT_FALSE(store.dm.Banco().inTransaction());
    EXPECT_EQ(store.rows(u"SELECT Cotacao FROM CotaLiberadas ORDER BY 1"_s).join(u','), u"c,d,e,f"_s);
    EXPECT_EQ(store.rows(u"SELECT Pedido FROM PedidosLiberados ORDER BY 1"_s).join(u','), u"c,d,e,f"_s);
    EXPECT_EQ(store.rows(u"SELECT PEDIDO FROM PedidoFornc ORDER BY 1"_s).join(u','), u"a,b,c,d,f,g"_s);
    EXPECT_EQ(purge.CotasLiberadas().rowCount(), 7);
}

TEST_F(DataPurgeTest, CommandLinePurgesByCodeAndAsksForAll)
{
    const CliRun no = runCliIn(store.folder, { u"purge"_s, u"ALL"_s, u"2020-06-05"_s });
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.out,
        QStringList { u"[Atenção] Todos os dados da data = 05/06/2020 para traz serão apagados. "
                      "Confirma???"_s });
    EXPECT_EQ(store.left(), Everything);

    const CliRun one = runCliIn(store.folder, { u"purge"_s, u"PB"_s, u"2020-06-05"_s });
    EXPECT_EQ(one.status, 0);
    ASSERT_EQ(one.out.size(), 1);
    // The box's lines on one line.
    EXPECT_TRUE(one.out[0].startsWith(u"[Atenção] Processo finalizado.... apagados Pedidos Baixados Cópia do "
                                      "banco antes de apagar: "_s
        + QDir::toNativeSeparators(store.folder.path())))
        << one.out[0].toStdString();
    EXPECT_EQ(store.left(), u"CL:a,b,c,d,e,f,g PL:a,b,c,d,e,f,g CB:a,b,c,d,f,g PB:c,d,f"_s);

    const CliRun yes = runCliIn(store.folder, { u"--yes"_s, u"purge"_s, u"ALL"_s, u"2020-06-05"_s });
    EXPECT_EQ(yes.status, 0);
    EXPECT_TRUE(yes.out.last().startsWith(u"[Atenção] Processo finalizado.... apagados Todos "_s));
    EXPECT_EQ(store.left(), u"CL:c,d,e,f PL:c,d,e,f CB:c,d,f PB:c,d,f"_s);

    for (const QStringList &bad : { QStringList { u"purge"_s, u"XX"_s, u"2020-06-05"_s },
             QStringList { u"purge"_s, u"cl"_s, u"2020-06-05"_s },
             QStringList { u"purge"_s, u"CL"_s, u"05/06/2020"_s },
             QStringList { u"purge"_s, u"CL"_s, u"2020-02-30"_s } }) {
        const CliRun run = runCliIn(store.folder, bad);
        EXPECT_EQ(run.status, 2) << bad.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

// A purge cannot be undone: before it runs, the store as it was is copied
// beside it; a declined purge copies nothing.
TEST_F(DataPurgeTest, EveryPurgeFirstKeepsACopyOfTheStore)
{
    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(10, 0)) };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    DataPurge purge(prompts, store.dm);
    ASSERT_TRUE(purge.purgeKind(CutOff, u"CL"_s));
    prompts.answers = { false };
    EXPECT_FALSE(purge.purgeAll(CutOff));
    prompts.answers = { true };
    ASSERT_TRUE(purge.purgeAll(CutOff));

    const QStringList copies = QDir(store.folder.path()).entryList({ u"*.bak"_s }, QDir::Files, QDir::Name);
    ASSERT_EQ(copies,
        (QStringList { u"CotaKelvo.new.20200605-100000.bak"_s, u"CotaKelvo.new.20200605-100001.bak"_s }));
    {
        Database first;
        first.open(store.folder.file(copies[0]), storeKey());
        Statement released(first, u"SELECT count(*) FROM CotaLiberadas"_s);
        ASSERT_TRUE(released.step());
        EXPECT_EQ(released.columnInt(0), 7);
    }
    // The message names the copy made.
    const auto copyLine = [&](const QString &name) {
        return u"\nCópia do banco antes de apagar: "_s + QDir::toNativeSeparators(store.folder.file(name));
    };
    EXPECT_EQ(prompts.boxes(),
        (QStringList {
            u"[Atenção] Processo finalizado.... apagados Cotações Liberadas"_s + copyLine(copies[0]),
            u"[Atenção] "_s + DataPurge::confirmationText(CutOff),
            u"[Atenção] "_s + DataPurge::confirmationText(CutOff),
            u"[Atenção] Processo finalizado.... apagados Todos"_s + copyLine(copies[1]) }));

    // The sixth copy makes room: the message names the one deleted.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(purge.purgeKind(CutOff, u"PB"_s));
    EXPECT_EQ(QDir(store.folder.path()).entryList({ u"*.bak"_s }).size(), 5);
    EXPECT_EQ(prompts.boxes().last(),
        u"[Atenção] Processo finalizado.... apagados Pedidos Baixados"_s
            + copyLine(u"CotaKelvo.new.20200605-100005.bak"_s)
            + u"\nCópias mais antigas apagadas (ficam as cinco mais novas): CotaKelvo.new.20200605-100000.bak"_s);
}

TEST_F(DataPurgeTest, APurgeWhoseCopyCannotBeWrittenDeletesNothing)
{
    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(10, 0)) };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    // The lock of the file the copy is written into cannot be made.
    ASSERT_TRUE(QDir(store.folder.path()).mkdir(u"CotaKelvo.new.20200605-100000.bak.part.lock"_s));
    DataPurge purge(prompts, store.dm);
    ASSERT_TRUE(purge.refreshLists());
    prompts.answers = { true };
    EXPECT_FALSE(purge.purgeAll(CutOff));

    ASSERT_EQ(prompts.boxes().size(), 2);
    const QString told = prompts.boxes().last();
    EXPECT_TRUE(told.startsWith(u"[CotaKelvo] A cópia do banco '"_s)) << told.toStdString();
    EXPECT_TRUE(told.endsWith(u". Nada foi apagado."_s)) << told.toStdString();
    EXPECT_EQ(store.left(), Everything);
    EXPECT_EQ(purge.CotasLiberadas().rowCount(), 7);
}
