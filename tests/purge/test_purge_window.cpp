#include "common/clock.h"
#include "purge/widgets/purge_window.h"
#include "purge_fixture.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PurgeWindowTest : public ::testing::Test {
protected:
    PurgeWindowTest()
    {
        Clock::setCurrent(&clock);
        store.addAll(u"old"_s, u"2020-06-01"_s);
        store.addAll(u"today"_s, u"2020-06-05"_s);
        store.addAll(u"new"_s, u"2020-06-10"_s);
        window.show();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }
    ~PurgeWindowTest() override { Clock::setCurrent(nullptr); }

    // The boxes up to their first line break: a purge's own message without
    // the lines about its copy.
    QStringList firstLines() const
    {
        QStringList out;
        for (const QString &box : prompts.boxes())
            out << box.section(u'\n', 0, 0);
        return out;
    }

    static QStringList column(QTableView *grid, int column)
    {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, column).data().toString();
        return out;
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(10, 0)) };
    PurgeStore store;
    ScriptedPrompts prompts;
    TApagaDados window { prompts, store.dm, store.folder.file(u"CotaKelvo.new"_s) };
};

} // namespace

TEST_F(PurgeWindowTest, OpensOnTodayWithTheFourLists)
{
    EXPECT_EQ(window.size(), QSize(964, 460));
    EXPECT_EQ(window.windowTitle(), u"Apaga dados antigos"_s);
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(192, 228, 224));
    EXPECT_EQ(window.data()->date(), QDate(2020, 6, 5));
    EXPECT_EQ(QApplication::focusWidget(), window.data());

    struct Grid {
        QTableView *grid;
        QStringList titles;
        QList<int> widths; // 0: not fixed
    };
    for (const Grid &g :
        { Grid { window.DBGrid1(), { u"Cotacao"_s, u"TipoStatus"_s, u"DataLiberada"_s }, { 152, 0, 79 } },
            Grid { window.DBGrid2(), { u"Cotacao"_s, u"Data"_s, u"TipoStatus"_s }, { 144, 77, 0 } },
            Grid { window.DBGrid3(), { u"Pedido"_s, u"TipoStatus"_s, u"DataLiberado"_s }, { 115, 73, 87 } },
            Grid { window.DBGrid4(), { u"Pedido"_s, u"Data"_s }, { 156, 91 } } }) {
        const QAbstractItemModel *model = g.grid->model();
        QAbstractItemModelTester tester(
            g.grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        EXPECT_EQ(g.grid->size(), QSize(320, 171));
        ASSERT_EQ(model->columnCount(), g.titles.size());
        for (int c = 0; c < g.titles.size(); ++c) {
            EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), g.titles[c]);
            if (g.widths[c] > 0) {
                EXPECT_EQ(g.grid->columnWidth(c), g.widths[c]);
            }
        }
        EXPECT_EQ(column(g.grid, 0), (QStringList { u"new"_s, u"today"_s, u"old"_s }));
        EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    }
    EXPECT_EQ(
        column(window.DBGrid1(), 2), (QStringList { u"10/06/2020"_s, u"05/06/2020"_s, u"01/06/2020"_s }));
    EXPECT_EQ(
        column(window.DBGrid4(), 1), (QStringList { u"10/06/2020"_s, u"05/06/2020"_s, u"01/06/2020"_s }));
}

// Each arrow purges the list it points at, with no question, and the lists
// are read again.
TEST_F(PurgeWindowTest, ArrowsPurgeTheirOwnList)
{
    struct Case {
        QPushButton *button;
        QTableView *purged;
        QString name;
    };
    const QList<Case> cases { { window.Button3(), window.DBGrid1(), u"Cotações Liberadas"_s },
        { window.Button2(), window.DBGrid2(), u"Cotações Baixadas"_s },
        { window.Button5(), window.DBGrid3(), u"Pedidos Liberados"_s },
        { window.Button4(), window.DBGrid4(), u"Pedidos Baixados"_s } };
    for (int i = 0; i < cases.size(); ++i) {
        prompts.clear();
        QTest::mouseClick(cases[i].button, Qt::LeftButton);
        EXPECT_EQ(
            firstLines(), QStringList { u"[Atenção] Processo finalizado.... apagados "_s + cases[i].name });
        for (int j = 0; j < cases.size(); ++j) {
            const QStringList expected
                = j <= i ? QStringList { u"new"_s } : QStringList { u"new"_s, u"today"_s, u"old"_s };
            EXPECT_EQ(column(cases[j].purged, 0), expected) << i << ' ' << j;
        }
    }
}

TEST_F(PurgeWindowTest, AllPurgeAsksForThePickersDay)
{
    window.data()->setDate(QDate(2020, 6, 1));
    prompts.answers = { false };
    QTest::mouseClick(window.SpeedButton1(), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"ask"_s);
    EXPECT_EQ(prompts.shown[0].text,
        u"Todos os dados da data = 01/06/2020 para traz serão apagados. Confirma???"_s);
    EXPECT_EQ(window.DBGrid4()->model()->rowCount(), 3);

    prompts.answers = { true };
    QTest::mouseClick(window.SpeedButton1(), Qt::LeftButton);
    EXPECT_EQ(firstLines().last(), u"[Atenção] Processo finalizado.... apagados Todos"_s);
    for (QTableView *grid : { window.DBGrid1(), window.DBGrid2(), window.DBGrid3(), window.DBGrid4() })
        EXPECT_EQ(column(grid, 0), (QStringList { u"new"_s, u"today"_s }));
}

TEST_F(PurgeWindowTest, EnterAndEscapeInTheListsDoNothing)
{
    for (QTableView *grid : { window.DBGrid1(), window.DBGrid2(), window.DBGrid3(), window.DBGrid4() }) {
        grid->setFocus();
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
            QTest::keyClick(grid, key);
    }
    QTest::keyClick(window.data(), Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(store.left(), u"CL:new,old,today PL:new,old,today CB:new,old,today PB:new,old,today"_s);

    QTest::mouseClick(window.Button1(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

// The copies the purges made, newest first, with what each holds; the one
// chosen comes back only on Yes, and the store it replaces is kept.
TEST_F(PurgeWindowTest, RestoreListsTheCopiesAndPutsTheChosenOneBackOnYes)
{
    QTest::mouseClick(window.Button3(), Qt::LeftButton); // the released quotations up to today
    QTest::mouseClick(window.Button4(), Qt::LeftButton); // the order items up to today
    const QString afterPurges = store.left();
    ASSERT_EQ(afterPurges, u"CL:new PL:new,old,today CB:new,old,today PB:new"_s);
    const QString first = store.folder.file(u"CotaKelvo.new.20200605-100000.bak"_s);
    const QString second = store.folder.file(u"CotaKelvo.new.20200605-100001.bak"_s);
    const auto kb = [](const QString &file) {
        return QString::number((QFileInfo(file).size() + 1023) / 1024) + u" KB"_s;
    };
    const QList<QStringList> listed { StoreRestore::columns(),
        { u"05/06/2020 10:00:01"_s, kb(second), u"1"_s, u"3"_s, u"CotaKelvo.new.20200605-100001.bak"_s },
        { u"05/06/2020 10:00:00"_s, kb(first), u"3"_s, u"3"_s, u"CotaKelvo.new.20200605-100000.bak"_s } };
    const QString question
        = u"O banco em uso será substituído pela cópia de 05/06/2020 10:00:00 (3 cotações, "
          "3 pedidos). O banco atual fica guardado como uma nova cópia. Confirma???"_s;

    for (const bool yes : { false, true }) {
        SCOPED_TRACE(yes);
        prompts.clear();
        prompts.choices = { 1 };
        prompts.answers = { yes };
        QTest::mouseClick(window.btnRestaura(), Qt::LeftButton);
        ASSERT_GE(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].kind, u"choose"_s);
        EXPECT_EQ(prompts.shown[0].caption, u"Restaurar cópia"_s);
        EXPECT_EQ(prompts.shown[0].table, listed);
        EXPECT_EQ(prompts.shown[1].kind, u"ask"_s);
        EXPECT_EQ(prompts.shown[1].text, question);
        if (!yes) {
            EXPECT_EQ(prompts.shown.size(), 2);
            EXPECT_EQ(store.left(), afterPurges);
        }
    }
    const QString kept = store.folder.file(u"CotaKelvo.new.20200605-100002.bak"_s);
    EXPECT_EQ(prompts.boxes().last(),
        u"[Atenção] Banco restaurado da cópia %1.\nO banco que estava em uso foi guardado em %2."_s.arg(
            QDir::toNativeSeparators(first), QDir::toNativeSeparators(kept)));
    EXPECT_EQ(store.left(), u"CL:new,old,today PL:new,old,today CB:new,old,today PB:new,old,today"_s);
    // The lists read the restored store.
    for (QTableView *grid : { window.DBGrid1(), window.DBGrid2(), window.DBGrid3(), window.DBGrid4() })
        EXPECT_EQ(column(grid, 0), (QStringList { u"new"_s, u"today"_s, u"old"_s }));
    EXPECT_EQ(QDir(store.folder.path()).entryList({ u"*.bak"_s }).size(), 3);
    EXPECT_TRUE(QFileInfo::exists(first));
}

// Beside "Fecha Janela", reached with Tab, never a default button.
TEST_F(PurgeWindowTest, TheRestoreButtonSitsApartAndIsReachedByTab)
{
    QPushButton *restore = window.btnRestaura();
    EXPECT_EQ(restore->text(), u"Restaurar cópia…"_s);
    EXPECT_EQ(restore->geometry(), QRect(741, 419, 120, 33));
    EXPECT_FALSE(restore->autoDefault());
    EXPECT_FALSE(restore->isDefault());
    for (QWidget *other : window.findChildren<QWidget *>()) {
        if (other != restore && other->isVisible() && other->parentWidget() == &window) {
            EXPECT_FALSE(other->geometry().intersects(restore->geometry()))
                << other->objectName().toStdString();
        }
    }
    window.Button4()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), restore);
    QTest::keyClick(restore, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.DBGrid1());

    // Space presses it; with nothing chosen nothing else happens.
    restore->setFocus();
    QTest::keyClick(restore, Qt::Key_Space);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"message"_s); // no copies yet
    EXPECT_TRUE(prompts.shown[0].text.startsWith(u"Não há cópias do banco em "_s));
}
