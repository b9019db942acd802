#include "common/clock.h"
#include "quotation_fixture.h"
#include "quotations/quotation_deadline.h"
#include "quotations/widgets/downloaded_chooser.h"
#include "quotations/widgets/released_quotations_window.h"
#include "quotations/widgets/submission_window.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2020, 6, 5), QTime(10, 0, 0));

class DeadlineTest : public ::testing::Test {
protected:
    DeadlineTest()
    {
        Clock::setCurrent(&clock);
        // In key order: the order of CotaLiberadas.
        release(u"A"_s, u"ABERTA"_s, u"2020-06-08"_s, u"14:00:00"_s); // 3 d 4 h
        release(u"B"_s, u"Baixada"_s, u"2020-06-05"_s, u"15:20:00"_s); // 5 h 20 min
        release(u"C"_s, u"Enviada"_s, u"2020-06-01"_s, u"12:00:00"_s); // answered
        release(u"D"_s, u"Enviar"_s, u"2020-06-04"_s, QVariant()); // to the end of a past day
        release(u"E"_s, u"ABERTA"_s, QVariant(), QVariant()); // no deadline
    }
    ~DeadlineTest() override { Clock::setCurrent(nullptr); }

    void release(
        const QString &cotacao, const QString &status, const QVariant &validade, const QVariant &hora)
    {
        store.exec(
            u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora) VALUES (?, ?, ?, ?)"_s,
            { cotacao, status, validade, hora });
    }

    static QStringList column(const QAbstractItemModel *model, int column, int role = Qt::DisplayRole)
    {
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QVariant v = model->index(r, column).data(role);
            out << (role == Qt::ForegroundRole ? (v.isValid() ? v.value<QBrush>().color().name() : QString())
                                               : v.toString());
        }
        return out;
    }

    static void clickTitle(QTableView *grid, int section)
    {
        QHeaderView *titles = grid->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
            QPoint(titles->sectionViewportPosition(section) + 5, titles->height() / 2));
    }

    FixedClock clock { Now };
    TestStore store;
    ScriptedPrompts prompts;
    FakeNet net;
};

} // namespace

TEST(Deadline, TimeLeftInDaysHoursAndMinutesAndVencidaOncePast)
{
    const struct {
        QDate validade;
        QTime hora;
        qint64 minutes;
        QString text;
        bool red;
    } cases[] = {
        { { 2020, 6, 8 }, { 14, 0 }, 3 * 1440 + 240, u"3 d 4 h"_s, false },
        { { 2020, 6, 6 }, { 10, 0 }, 1440, u"1 d 0 h"_s, false }, // a whole day left is not yet red
        { { 2020, 6, 6 }, { 9, 59 }, 1439, u"23 h 59 min"_s, true },
        { { 2020, 6, 5 }, { 15, 20 }, 320, u"5 h 20 min"_s, true },
        { { 2020, 6, 5 }, { 10, 45, 59 }, 45, u"45 min"_s, true },
        { { 2020, 6, 5 }, { 10, 0 }, 0, u"0 min"_s, true }, // the last moment still counts
        { { 2020, 6, 5 }, { 9, 59, 59 }, -1, u"vencida"_s, true },
        { { 2020, 6, 5 }, {}, 839, u"13 h 59 min"_s, true }, // no hour: to the end of the day
        { { 2020, 6, 4 }, {}, -601, u"vencida"_s, true },
    };
    for (const auto &c : cases) {
        const std::optional<QDateTime> deadline = quotationDeadline(c.validade, c.hora);
        ASSERT_TRUE(deadline);
        const qint64 minutes = minutesLeft(*deadline, Now);
        EXPECT_EQ(minutes, c.minutes) << c.text.toStdString();
        EXPECT_EQ(prazoText(minutes), c.text);
        EXPECT_EQ(prazoUrgent(minutes), c.red) << c.text.toStdString();
    }
    EXPECT_FALSE(quotationDeadline(QDate(), QTime(10, 0)));
}

TEST_F(DeadlineTest, ReleasedWindowShowsPrazoAfterItsColumnsAndRefreshesItEveryMinute)
{
    TFCotaLib window(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    window.show();
    QApplication::processEvents();
    const QAbstractItemModel *model = window.dbgrd1()->model();
    ASSERT_EQ(model->columnCount(), 5);
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), u"Prazo"_s);
    EXPECT_EQ(column(model, 4),
        (QStringList { u"3 d 4 h"_s, u"5 h 20 min"_s, QString(), u"vencida"_s, QString() }));
    const QString red = QColor(Qt::red).name();
    EXPECT_EQ(
        column(model, 4, Qt::ForegroundRole), (QStringList { QString(), red, QString(), red, QString() }));
    // The row's own colour goes on under the time left.
    EXPECT_EQ(model->index(0, 4).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(135, 206, 235));

    EXPECT_TRUE(window.tmrPrazo()->isActive());
    EXPECT_EQ(window.tmrPrazo()->interval(), 60000);
    QSignalSpy repainted(model, &QAbstractItemModel::dataChanged);
    clock.set(Now.addSecs(4 * 3600));
    window.tmrPrazoTimer();
    ASSERT_GE(repainted.size(), 1);
    EXPECT_EQ(repainted[0][0].value<QModelIndex>().column(), 4);
    EXPECT_EQ(column(model, 4).mid(0, 2), (QStringList { u"3 d 0 h"_s, u"1 h 20 min"_s }));
    EXPECT_EQ(column(model, 4, Qt::ForegroundRole)[0], QString());

    window.hide();
    EXPECT_FALSE(window.tmrPrazo()->isActive());
}

TEST_F(DeadlineTest, ClickingPrazoSortsByDeadlineAndTheSelectionStillActsOnItsQuotation)
{
    TFCotaLib window(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    window.show();
    QApplication::processEvents();
    QTableView *grid = window.dbgrd1();

    clickTitle(grid, 0); // the other titles do not sort
    EXPECT_EQ(column(grid->model(), 0), (QStringList { u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s }));
    clickTitle(grid, 4);
    EXPECT_EQ(column(grid->model(), 0), (QStringList { u"D"_s, u"B"_s, u"A"_s, u"C"_s, u"E"_s }));
    clickTitle(grid, 4);
    EXPECT_EQ(column(grid->model(), 0).mid(2), (QStringList { u"A"_s, u"B"_s, u"D"_s }));
    clickTitle(grid, 4);

    // The table keeps its own order; the row picked on screen is the one "Baixar" acts on.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    ASSERT_NE(store.dm.CotaLiberada().current(), nullptr);
    EXPECT_EQ(store.dm.CotaLiberada().current()->cotacao, u"D"_s);
    QTest::mouseClick(window.btn2(), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Erro] A Cotação : D já foi baixada, Enviada ou pronta para envio, "
                      "operação cancelada.."_s });
    ASSERT_TRUE(locateCotacao(store.dm.CotaLiberada(), u"A"_s));
    EXPECT_EQ(grid->currentIndex().row(), 2);
}

TEST_F(DeadlineTest, ChooserAndSubmissionWindowShowPrazoAfterTheirColumns)
{
    ReleasedQuotationSet &baixadas = store.dm.CotasBaixadas();
    baixadas.open();
    TCotaBaixada chooser(baixadas);
    chooser.show();
    const QAbstractItemModel *chosen = chooser.dbgrd1()->model();
    ASSERT_EQ(chosen->columnCount(), 6);
    EXPECT_EQ(chosen->headerData(5, Qt::Horizontal).toString(), u"Prazo"_s);
    EXPECT_EQ(column(chosen, 5), QStringList { u"5 h 20 min"_s });
    EXPECT_TRUE(chooser.tmrPrazo()->isActive());

    TEnviaCotacao sending(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    sending.show();
    QApplication::processEvents();
    const QAbstractItemModel *ready = sending.dbgrd1()->model();
    ASSERT_EQ(ready->columnCount(), 6);
    EXPECT_EQ(ready->headerData(5, Qt::Horizontal).toString(), u"Prazo"_s);
    EXPECT_EQ(column(ready, 5), QStringList { u"vencida"_s });
    EXPECT_TRUE(sending.tmrPrazo()->isActive());
    sending.btn2()->click();
    EXPECT_FALSE(sending.tmrPrazo()->isActive());
}

TEST_F(DeadlineTest, CommandLineListsWhatIsNotYetSentSoonestFirst)
{
    store.folder.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    const CliRun run = runCliIn(store.folder, { u"quotations"_s, u"deadlines"_s });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
        (QStringList { u"D|Enviar|2020-06-04T23:59|-601"_s, u"B|Baixada|2020-06-05T15:20|320"_s,
            u"A|ABERTA|2020-06-08T14:00|4560"_s, u"E|ABERTA||"_s }));
}
