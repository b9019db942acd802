#include "common/clock.h"
#include "purge/data_purge.h"
#include "purge/store_restore.h"
#include "purge_fixture.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class StoreRestoreTest : public ::testing::Test {
protected:
    StoreRestoreTest() { Clock::setCurrent(&clock); }
    ~StoreRestoreTest() override { Clock::setCurrent(nullptr); }

    QString storePath() const { return store.folder.file(u"CotaKelvo.new"_s); }
    QStringList backups() const { return QDir(store.folder.path()).entryList({ u"*.bak"_s }, QDir::Files); }

    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(10, 0)) };
    PurgeStore store;
    ScriptedPrompts prompts;
    StoreRestore flow { prompts, store.dm, storePath() };
};

} // namespace

TEST_F(StoreRestoreTest, NothingToChooseNothingChosenNothingChanged)
{
    EXPECT_FALSE(flow.restoreChosen());
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Não há cópias do banco em %1: elas são gravadas antes de cada exclusão de "
                      "dados."_s.arg(QDir::toNativeSeparators(store.folder.path())) });

    store.addAll(u"a"_s, u"2020-06-01"_s);
    DataPurge(prompts, store.dm).purgeKind(QDate(2020, 6, 5), u"CL"_s);
    prompts.clear();
    EXPECT_FALSE(flow.restoreChosen()); // the list cancelled: no question
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"choose"_s);
    EXPECT_EQ(store.left(), u"CL: PL:a CB:a PB:a"_s);
    EXPECT_TRUE(store.dm.isStoreOpen());
}

// A copy that is no sound store is refused by the checks of every restore;
// the store stays as it was and is open again, and no backup is added.
TEST_F(StoreRestoreTest, ACopyThatFailsTheChecksLeavesTheStoreOpenAsItWas)
{
    store.addAll(u"a"_s, u"2020-06-01"_s);
    store.folder.write(u"CotaKelvo.new.20200604-080000.bak"_s, QByteArray(4096, 'x'));
    const QStringList before = backups();
    ReleasedQuotationSet &released = store.dm.CotaLiberada();
    released.open();
    prompts.choices = { 0 };
    prompts.answers = { true };
    EXPECT_FALSE(flow.restoreChosen());

    EXPECT_EQ(prompts.shown[0].table.value(1),
        (QStringList { u"04/06/2020 08:00:00"_s, u"4 KB"_s, u"ilegível"_s, u"ilegível"_s,
            u"CotaKelvo.new.20200604-080000.bak"_s }));
    // Without counts it cannot tell.
    EXPECT_EQ(prompts.shown[1].text,
        u"O banco em uso será substituído pela cópia de 04/06/2020 08:00:00. O banco atual fica guardado "
        "como uma nova cópia. Confirma???"_s);
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[2].kind, u"error"_s);
    EXPECT_TRUE(prompts.shown[2].text.contains(u"não é um banco do CotaKelvo em bom estado"_s))
        << prompts.shown[2].text.toStdString();
    EXPECT_TRUE(store.dm.isStoreOpen());
    EXPECT_FALSE(released.isOpen()); // closed with the connection; its window reopens it
    EXPECT_EQ(store.left(), u"CL:a PL:a CB:a PB:a"_s);
    EXPECT_EQ(backups(), before);
}
