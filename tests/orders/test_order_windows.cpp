#include "orders/order_fixture.h"
#include "orders/widgets/downloaded_orders_window.h"
#include "orders/widgets/released_orders_window.h"
#include "quotations/quotation_fixture.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

QStringList titles(const QTableView *grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

QString cell(const QTableView *grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

} // namespace

using OrderWindows = OrderStoreTest;

TEST_F(OrderWindows, PedLibListsEveryOrderAndFetchesThroughItsClient)
{
    addOrder(u"P1"_s, u"Atendido"_s, u"2020-06-21"_s);
    addOrder(u"P2"_s, u"Liberado"_s);
    // A choice left by another window does not narrow this list.
    dm.chooseOrders(u"Baixado"_s);
    const QByteArray body = "P3|Liberado|22/06/2020|08:00\r\n";
    RawServer server({ RawServer::answer(
        "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body) });
    ScriptedPrompts prompts;
    FakeNet net;
    TPedLib window(prompts, dm, net, server.url(QString()));
    QAbstractItemModelTester tester(
        window.dbgrd1()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    window.setXLogin(u"FORN"_s);
    window.setXSenha(u"S 1"_s);
    window.show();
    QApplication::setActiveWindow(&window);
    settle();

    EXPECT_EQ(window.size(), QSize(585, 297));
    EXPECT_EQ(window.windowTitle(), u"Pedidos Liberados"_s);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(window.dbgrd1()->hasFocus());
    EXPECT_EQ(titles(window.dbgrd1()),
        (QStringList { u"Pedido"_s, u"TipoStatus"_s, u"Dt Liberado"_s, u"Hora Liberado"_s, u"Dt Baixado"_s,
            u"Hora Baixado"_s }));
    EXPECT_EQ(window.dbgrd1()->columnWidth(3), 87);
    ASSERT_EQ(window.dbgrd1()->model()->rowCount(), 2);
    EXPECT_EQ(cell(window.dbgrd1(), 0, 2), u"20/06/2020"_s);
    EXPECT_EQ(cell(window.dbgrd1(), 0, 4), u"21/06/2020"_s);
    EXPECT_EQ(cell(window.dbgrd1(), 1, 5), QString());

    // Enter and Escape in the grid neither press a button nor close the window.
    QTest::keyClick(window.dbgrd1(), Qt::Key_Return);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Enter);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());

    QTest::mouseClick(window.btn1(), Qt::LeftButton);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(
        server.requests()[0].bytes.startsWith("GET /net/getpedlib.php?user=FORN&pass=S%201 HTTP/1.1\r\n"));
    EXPECT_EQ(window.dbgrd1()->model()->rowCount(), 3);
    EXPECT_EQ(prompts.shown.last().kind, u"log"_s);

    // The selected row is the one "Baixar" acts on.
    window.dbgrd1()->setCurrentIndex(window.dbgrd1()->model()->index(0, 0));
    prompts.clear();
    QTest::mouseClick(window.btn2(), Qt::LeftButton);
    EXPECT_EQ(
        prompts.transcript(), QStringList { u"[Erro] Este status não permite baixar esse pedido...."_s });

    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

class PedidosBaixadosTest : public OrderStoreTest {
protected:
    PedidosBaixadosTest()
    {
        addOrder(u"B1"_s, u"Baixado"_s, u"2020-06-21"_s);
        addOrder(u"B2"_s, u"Baixado"_s, u"2020-06-21"_s);
        addOrder(u"A1"_s, u"Atendido"_s, u"2020-06-21"_s);
        addOrder(u"L1"_s, u"Liberado"_s);
        addLine({ .produto = u"1"_s,
            .qtde = 2.0,
            .valor = 617.25,
            .lojas = { 1.0, 1.0, 0.0 },
            .pedido = u"B1"_s });
        addLine({ .produto = u"2"_s, .marca = u"NGK"_s, .qtde = 1.0, .valor = 3.0, .pedido = u"B1"_s });
        addLine({ .produto = u"9"_s, .qtde = 1.0, .valor = 5.0, .pedido = u"B2"_s });
        rows(u"UPDATE PedidoFornc SET OBS = 'obs ' || PRODUTO, CONDPGTO = '28 DDL', APLICACAO = 'GOL' || "
             u"char(13) "
             "|| 'FOX'"_s);
    }

    void open()
    {
        window = std::make_unique<TPedidosBaixados>(prompts, dm);
        window->show();
        QApplication::setActiveWindow(window.get());
        settle();
    }

    QStringList totals()
    {
        return { window->lbTotPed()->text(), window->lbl1()->text(), window->lbl2()->text(),
            window->lbl3()->text() };
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TPedidosBaixados> window;
};

TEST_F(PedidosBaixadosTest, ShowsTheSelectedOrderWithItsItemsAndTotals)
{
    open();
    QAbstractItemModelTester ordersTester(
        window->dbgrd1()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester itemsTester(
        window->dbgrd2()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(window->size(), QSize(973, 564));
    EXPECT_EQ(window->rg1()->title(), u"   Tipo Pedido   "_s);
    EXPECT_EQ(window->rg1ItemIndex(), 0);
    const QTableView *orders = window->dbgrd1();
    const QTableView *items = window->dbgrd2();
    ASSERT_EQ(orders->model()->rowCount(), 2);
    EXPECT_EQ(titles(items),
        (QStringList {
            u"Marca"_s, u"Produto"_s, u"Similar"_s, u"Descrição"_s, u"UN"_s, u"Qtde"_s, u"valor"_s }));
    ASSERT_EQ(items->model()->rowCount(), 2);
    EXPECT_EQ(cell(items, 0, 1), u"PF-1"_s);
    EXPECT_EQ(cell(items, 0, 5), u"2,00"_s);
    EXPECT_EQ(cell(items, 0, 6), u"617,25"_s);
    EXPECT_EQ(window->dbedtCONTATO()->text(), u"COMPRAS"_s);
    EXPECT_EQ(window->dbedtAPLICACAO()->text(), u"GOL\rFOX"_s);
    EXPECT_EQ(window->dbedtOBS()->text(), u"obs 1"_s);
    EXPECT_EQ(window->dbedtCONDPGTO()->text(), u"28 DDL"_s);
    EXPECT_TRUE(window->dbedtOBS()->isReadOnly());
    EXPECT_EQ(totals(),
        (QStringList { u"Valor Total Ped. : 1.237,50"_s, u"Tot. Loja Centro = 620,25"_s,
            u"Tot. Loja Norte = 617,25"_s, u"Tot. Loja Sul = 0,00"_s }));

    // The boxes follow the current item; the totals stay those of the order.
    window->dbgrd2()->setCurrentIndex(items->model()->index(1, 0));
    EXPECT_EQ(window->dbedtOBS()->text(), u"obs 2"_s);
    window->dbgrd1()->setCurrentIndex(orders->model()->index(1, 0));
    settle();
    EXPECT_EQ(items->model()->rowCount(), 1);
    EXPECT_EQ(window->dbedtOBS()->text(), u"obs 9"_s);
    EXPECT_EQ(window->lbTotPed()->text(), u"Valor Total Ped. : 5,00"_s);

    // Enter in either grid presses nothing; Escape does not close the window.
    for (QTableView *grid : { window->dbgrd1(), window->dbgrd2() }) {
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Enter);
        QTest::keyClick(grid, Qt::Key_Escape);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PedidosBaixadosTest, HintRadioGroupAndKeys)
{
    open();
    EXPECT_TRUE(window->dbgrd1()->hasFocus());
    EXPECT_TRUE(window->lbmsg()->isVisible());
    EXPECT_EQ(window->lbmsg()->text(), u"F4 - Baixado -> Atendido"_s);
    window->dbgrd2()->setFocus();
    EXPECT_FALSE(window->lbmsg()->isVisible());
    window->dbgrd1()->setFocus();
    EXPECT_TRUE(window->lbmsg()->isVisible());

    // F11 does nothing on "Baixados"; F4 (with any modifier) asks, and Yes attends the order.
    QTest::keyClick(window->dbgrd1(), Qt::Key_F11);
    EXPECT_TRUE(prompts.shown.isEmpty());
    prompts.answers = { true };
    QTest::keyClick(window->dbgrd1(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(prompts.boxes(), QStringList { u"[Atenção] Este pedido já foi atendido????"_s });
    EXPECT_EQ(status(u"B1"_s), u"Atendido"_s);
    EXPECT_EQ(window->dbgrd1()->model()->rowCount(), 1);
    EXPECT_EQ(window->lbTotPed()->text(), u"Valor Total Ped. : 5,00"_s);

    QTest::mouseClick(window->rg1Item(1), Qt::LeftButton);
    EXPECT_FALSE(window->btnimp()->isVisible());
    EXPECT_FALSE(window->btnlojas()->isVisible());
    EXPECT_EQ(window->dbgrd1()->model()->rowCount(), 2);
    prompts.clear();
    prompts.answers = { true };
    window->dbgrd1()->setFocus();
    // The hint names the key that works on this list.
    EXPECT_TRUE(window->lbmsg()->isVisible());
    EXPECT_EQ(window->lbmsg()->text(), u"F11 - Atendido -> Baixado"_s);
    QTest::keyClick(window->dbgrd1(), Qt::Key_F11);
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Tem certeza que quer retornar esse pedido para baixados????"_s });
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s); // the first listed: B1 was attended above

    QTest::mouseClick(window->rg1Item(0), Qt::LeftButton);
    EXPECT_TRUE(window->btnimp()->isVisible());
    EXPECT_TRUE(window->btnlojas()->isVisible());
    EXPECT_EQ(window->dbgrd1()->model()->rowCount(), 2);
    EXPECT_EQ(window->lbmsg()->text(), u"F4 - Baixado -> Atendido"_s);
}

TEST_F(PedidosBaixadosTest, PrintButtonPreviewsAsksAndTheWindowClosesClean)
{
    open();
    prompts.answers = { true };
    QTest::mouseClick(window->btnimp(), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].kind, u"preview"_s);
    EXPECT_EQ(prompts.shown[1].kind, u"ask"_s);
    EXPECT_EQ(status(u"B1"_s), u"Atendido"_s);
    EXPECT_EQ(window->dbgrd1()->model()->rowCount(), 1);
    EXPECT_EQ(window->lbTotPed()->text(), u"Valor Total Ped. : 5,00"_s);

    // Closed on "Atendidos", it opens again on "Baixados"; the tables are left closed and unfiltered.
    QTest::mouseClick(window->rg1Item(1), Qt::LeftButton);
    QTest::mouseClick(window->btnsai(), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dm.PedidosLiberados().isOpen());
    EXPECT_FALSE(dm.PedFornec().isOpen());
    EXPECT_FALSE(dm.ordersChosen());
    EXPECT_FALSE(dm.orderItemsChosen());
    open();
    EXPECT_EQ(window->rg1ItemIndex(), 0);
    EXPECT_EQ(cell(window->dbgrd1(), 0, 0), u"B2"_s);
}
