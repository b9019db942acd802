#include "quotations/sent_quotations.h"
#include "quotations/widgets/sent_quotations_window.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Quotations worked on: Q4 has items of two days, Q5 none, Q6 items but no
// released quotation.
class SentQuotationsTest : public ::testing::Test {
protected:
    SentQuotationsTest()
    {
        store.folder.write(u"server.new"_s, "http://127.0.0.1:1/kelvo\r\n");
        store.addQuotation(u"Q1"_s, u"Enviada"_s);
        store.addQuotation(u"Q2"_s, u"Baixada"_s);
        store.addQuotation(u"Q3"_s, u"Enviar"_s);
        store.addQuotation(u"Q4"_s, u"Baixada"_s);
        store.addQuotation(u"Q5"_s, u"Enviada"_s);
        item(u"Q1"_s, u"P1"_s, u"NGK"_s, u"VELA"_s, 10, 1.5);
        item(u"Q1"_s, u"P2"_s, u"BOSCH"_s, u"PASTILHA"_s, 10, 1.5);
        item(u"Q1"_s, u"P3"_s, u"BOSCH"_s, u"FILTRO"_s, 10, 1.5);
        item(u"Q1"_s, u"P4"_s, u"ACME"_s, u"CORREIA"_s, 3, {});
        item(u"Q2"_s, u"P1"_s, u"SKF"_s, u"ROLAMENTO"_s, 1000, 1.2345, u"2020-06-03"_s);
        item(u"Q3"_s, u"P1"_s, u"SKF"_s, u"ROLAMENTO"_s, 2, {});
        item(u"Q4"_s, u"P1"_s, u"COFAP"_s, u"AMORTECEDOR"_s, 2, 100.0);
        item(u"Q4"_s, u"P2"_s, u"COFAP"_s, u"MOLA"_s, 1, 50.0, u"2020-06-02"_s);
        item(u"Q6"_s, u"P1"_s, u"NGK"_s, u"VELA"_s, 1, 1.0);
    }

    void item(const QString &cota, const QString &produto, const QString &marca, const QString &descricao,
        double qtde, const QVariant &valor, const QString &data = u"2020-06-01"_s)
    {
        store.exec(
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, MARCA, DESCRICAO, UN, "
            "QTDE, VALOR, SIMILARES) VALUES ('ACME', ?, ?, ?, 'F-' || ?, ?, ?, 'PC', ?, ?, NULL)"_s,
            { cota, data, produto, produto, marca, descricao, qtde, valor });
    }

    // The texts of the first columns of a grid's rows, as the window shows them.
    static QStringList rows(const QAbstractItemModel *grid, int columns)
    {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList line;
            for (int c = 0; c < columns; ++c)
                line << grid->index(r, c).data().toString();
            out << line.join(u'|');
        }
        return out;
    }

    TestStore store;
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(SentQuotationsTest, NewestFirstThenStatusDescending)
{
    SentQuotations flow(prompts, store.dm);
    const TCotasRespEnv window(prompts, store.dm); // its grids, not shown
    ASSERT_TRUE(flow.openQueries());
    EXPECT_EQ(rows(window.dbgrd1()->model(), 3),
        (QStringList { u"Q2|03/06/2020|Baixada"_s, u"Q4|02/06/2020|Baixada"_s, u"Q3|01/06/2020|Enviar"_s,
            u"Q1|01/06/2020|Enviada"_s, u"Q4|01/06/2020|Baixada"_s }));
    EXPECT_TRUE(prompts.shown.isEmpty());

    const CliRun cli = runCliIn(store.folder, { u"quotations"_s, u"answered"_s });
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.out,
        (QStringList { u"Q2|2020-06-03|Baixada"_s, u"Q4|2020-06-02|Baixada"_s, u"Q3|2020-06-01|Enviar"_s,
            u"Q1|2020-06-01|Enviada"_s, u"Q4|2020-06-01|Baixada"_s }));
}

// The items and the total always belong to the quotation selected.
TEST_F(SentQuotationsTest, ItemsAndTotalFollowTheSelection)
{
    SentQuotations flow(prompts, store.dm);
    const TCotasRespEnv window(prompts, store.dm); // its grids, not shown
    ASSERT_TRUE(flow.openQueries());
    const SentQuotationItems &itens = store.dm.ConsCotaItens();
    const QAbstractItemModel *grid = window.dbgrd2()->model();
    EXPECT_EQ(rows(grid, 1), QStringList { u"SKF"_s });
    EXPECT_EQ(flow.totalText(), u"Valor total da cotação : 1.234,50"_s);

    ASSERT_TRUE(flow.selectQuotation(u"q1"_s));
    EXPECT_EQ(rows(grid, 8),
        (QStringList { u"ACME|F-P4||CORREIA|PC|3,00||"_s, u"BOSCH|F-P3||FILTRO|PC|10,00|1,50|15,00"_s,
            u"BOSCH|F-P2||PASTILHA|PC|10,00|1,50|15,00"_s, u"NGK|F-P1||VELA|PC|10,00|1,50|15,00"_s }));
    EXPECT_EQ(flow.totalText(), u"Valor total da cotação : 45,00"_s);
    EXPECT_EQ(itens.currentRow(), 0);

    ASSERT_TRUE(flow.selectQuotation(u"Q3"_s));
    EXPECT_EQ(flow.totalText(), u"Valor total da cotação : 0,00"_s);
    // Both days of Q4 show all of its items.
    store.dm.ConsCotaCab().setCurrentRow(4);
    EXPECT_EQ(itens.rowCount(), 2);
    EXPECT_EQ(flow.totalText(), u"Valor total da cotação : 250,00"_s);
    EXPECT_FALSE(flow.selectQuotation(u"Q5"_s));
    EXPECT_FALSE(flow.selectQuotation(u"Q6"_s));

    const CliRun cli = runCliIn(store.folder, { u"quotations"_s, u"answered"_s, u"Q1"_s });
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.out,
        (QStringList { u"ACME|F-P4||CORREIA|PC|3||"_s, u"BOSCH|F-P3||FILTRO|PC|10|1.5|15"_s,
            u"BOSCH|F-P2||PASTILHA|PC|10|1.5|15"_s, u"NGK|F-P1||VELA|PC|10|1.5|15"_s,
            u"Valor total da cotação : 45,00"_s }));
    const CliRun none = runCliIn(store.folder, { u"quotations"_s, u"answered"_s, u"Q6"_s });
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QStringList { u"[Erro] A cotação : Q6 não tem itens no seu banco."_s });
}

TEST(SentQuotations, EmptyStoreTotalsZero)
{
    TestStore store;
    ScriptedPrompts prompts;
    TCotasRespEnv window(prompts, store.dm);
    window.show();
    EXPECT_EQ(window.dbgrd1()->model()->rowCount(), 0);
    EXPECT_EQ(window.dbgrd2()->model()->rowCount(), 0);
    EXPECT_EQ(window.lb1()->text(), u"Valor total da cotação : 0,00"_s);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

namespace {

QColor cellColour(QTableView *grid, int row)
{
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    return image.pixelColor(cell.right() - 3, cell.center().y());
}

} // namespace

TEST_F(SentQuotationsTest, WindowColoursRowsAndKeepsTheLabelWithTheSelection)
{
    TCotasRespEnv window(prompts, store.dm);
    QAbstractItemModelTester quotations(
        window.dbgrd1()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester items(
        window.dbgrd2()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(1153, 525));
    EXPECT_EQ(window.dbgrd1()->columnWidth(0), 118);
    EXPECT_EQ(window.dbgrd2()->columnWidth(3), 340);
    EXPECT_EQ(window.dbgrd1()->font().pixelSize(), 11);
    EXPECT_EQ(QApplication::focusWidget(), window.dbgrd1());
    EXPECT_EQ(window.lb1()->text(), u"Valor total da cotação : 1.234,50"_s);

    // Selected, even and odd rows on the left.
    const QColor white(Qt::white), yellow(255, 255, 0), skyBlue(166, 202, 240);
    EXPECT_EQ(cellColour(window.dbgrd1(), 0), yellow);
    EXPECT_EQ(cellColour(window.dbgrd1(), 1), skyBlue);
    EXPECT_EQ(cellColour(window.dbgrd1(), 2), white);

    const QRect q1 = window.dbgrd1()->visualRect(window.dbgrd1()->model()->index(3, 0));
    QTest::mouseClick(window.dbgrd1()->viewport(), Qt::LeftButton, {}, q1.center());
    EXPECT_EQ(window.lb1()->text(), u"Valor total da cotação : 45,00"_s);
    EXPECT_EQ(window.dbgrd2()->model()->rowCount(), 4);
    EXPECT_EQ(cellColour(window.dbgrd1(), 0), white);
    EXPECT_EQ(cellColour(window.dbgrd1(), 3), yellow);

    // On the right: the first item is selected, then light green, white.
    EXPECT_EQ(cellColour(window.dbgrd2(), 0), QColor(173, 255, 47));
    EXPECT_EQ(cellColour(window.dbgrd2(), 1), QColor(192, 220, 192));
    EXPECT_EQ(cellColour(window.dbgrd2(), 2), white);

    QTest::keyClick(window.dbgrd1(), Qt::Key_Down);
    EXPECT_EQ(window.lb1()->text(), u"Valor total da cotação : 250,00"_s);

    for (QTableView *grid : { window.dbgrd1(), window.dbgrd2() }) {
        grid->setFocus();
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
            QTest::keyClick(grid, key);
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    QTest::mouseClick(window.btn1(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}
