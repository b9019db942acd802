#include "orders/downloaded_orders.h"
#include "orders/order_fixture.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

using namespace Qt::StringLiterals;

namespace {

const QString PrintQuestion
    = u"[Atenção] Você já imprimiu o pedido ??, Se a Resposta for sim, não será possível "
      "imprimir o pedido novamente e o status será alterado para Atendido. Deseja confirmar??"_s;

class DownloadedOrdersTest : public OrderStoreTest {
protected:
    QStringList listed() { return listedOrders(); }
    QString selected() { return selectedOrder(); }
    void select(const QString &pedido)
    {
        ASSERT_TRUE(dm.gotoOrder(pedido));
        ASSERT_TRUE(flow.followSelectedOrder());
    }
    QStringList labels()
    {
        const OrderTotalLabels &t = flow.totals();
        return { t.lbTotPed, t.lojas[0], t.lojas[1], t.lojas[2] };
    }

    ScriptedPrompts prompts;
    DownloadedOrders flow { prompts, dm };
};

} // namespace

TEST_F(DownloadedOrdersTest, EachListHoldsOnlyItsExactStatus)
{
    addOrder(u"B1"_s, u"Baixado"_s);
    addOrder(u"B2"_s, u"BAIXADO"_s);
    addOrder(u"L1"_s, u"Liberado"_s);
    addOrder(u"A1"_s, u"Atendido"_s);
    addOrder(u"B3"_s, u"Baixado"_s);
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    EXPECT_EQ(listed(), (QStringList { u"B1"_s, u"B3"_s }));
    EXPECT_TRUE(flow.printsOffered());
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Atendidos));
    EXPECT_EQ(listed(), QStringList { u"A1"_s });
    EXPECT_FALSE(flow.printsOffered());
}

TEST_F(DownloadedOrdersTest, TotalsOfTheSelectedOrder)
{
    addOrder(u"B1"_s, u"Baixado"_s);
    addOrder(u"B2"_s, u"Baixado"_s);
    addLine({ .produto = u"1"_s, .qtde = 2.0, .valor = 10.0, .lojas = { 1.0, 1.0, 0.0 }, .pedido = u"B1"_s });
    addLine({ .produto = u"2"_s,
        .qtde = 100.0,
        .valor = 12.345,
        .lojas = { 100.0, QVariant(), QVariant() },
        .nomes = { u"OUTRA"_s, u"OUTRA"_s, u"OUTRA"_s },
        .pedido = u"B1"_s });
    addLine({ .produto = u"3"_s,
        .qtde = QVariant(),
        .valor = 7.0,
        .lojas = { 5.0, 1.0, 1.0 },
        .pedido = u"B1"_s });
    addLine({ .produto = u"4"_s, .qtde = 9.0, .valor = QVariant(), .pedido = u"B1"_s });
    addLine({ .produto = u"5"_s, .qtde = 1.0, .valor = 1.0, .pedido = u"b1"_s }); // another order
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));

    select(u"B1"_s);
    EXPECT_EQ(listedProducts(), (QStringList { u"1"_s, u"2"_s, u"3"_s, u"4"_s }));
    // The store totals need not add up to the order total; the names are the first item's.
    EXPECT_EQ(labels(),
        (QStringList { u"Valor Total Ped. : 1.254,50"_s, u"Tot. Loja Centro = 1.279,50"_s,
            u"Tot. Loja Norte = 17,00"_s, u"Tot. Loja Sul = 7,00"_s }));

    select(u"B2"_s);
    EXPECT_EQ(dm.PedFornec().rowCount(), 0);
    EXPECT_EQ(labels(),
        (QStringList {
            u"Valor Total Ped. : 0,00"_s, u"Tot.  = 0,00"_s, u"Tot.  = 0,00"_s, u"Tot.  = 0,00"_s }));
}

TEST_F(DownloadedOrdersTest, F4AndF11AskBeforeChangingTheStatus)
{
    const QString f4 = u"[Atenção] Este pedido já foi atendido????"_s;
    const QString f11 = u"[Atenção] Tem certeza que quer retornar esse pedido para baixados????"_s;
    // An empty list: no question, no row added.
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    EXPECT_FALSE(flow.markAttended());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(count(u"PedidosLiberados"_s), 0);

    addOrder(u"B1"_s, u"Baixado"_s);
    addOrder(u"B2"_s, u"Baixado"_s);
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    EXPECT_FALSE(flow.markAttended());
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s);
    EXPECT_FALSE(flow.returnToDownloaded()); // no listed order is "Atendido"
    EXPECT_EQ(prompts.transcript(), QStringList { f4 });

    prompts.answers = { true };
    EXPECT_TRUE(flow.markAttended());
    EXPECT_EQ(status(u"B1"_s), u"Atendido"_s);
    EXPECT_EQ(listed(), QStringList { u"B2"_s }); // it leaves the list at once

    prompts.clear();
    prompts.answers = { true };
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Atendidos));
    EXPECT_FALSE(flow.markAttended());
    EXPECT_TRUE(flow.returnToDownloaded());
    EXPECT_EQ(prompts.transcript(), QStringList { f11 });
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s);
}

TEST_F(DownloadedOrdersTest, PrintoutPreviewedThenConfirmedAsAttended)
{
    addOrder(u"B1"_s, u"Baixado"_s);
    addOrder(u"B2"_s, u"Baixado"_s);
    addLine({ .produto = u"1"_s, .lojas = { 1.0, 2.0, QVariant() }, .pedido = u"B2"_s });
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    select(u"B2"_s);

    // No: nothing changes, and it can be printed again.
    EXPECT_EQ(flow.printStores(), DownloadedOrders::Printout::Shown);
    EXPECT_EQ(status(u"B2"_s), u"Baixado"_s);
    prompts.answers = { true };
    EXPECT_EQ(flow.printOrder(), DownloadedOrders::Printout::Attended);
    ASSERT_EQ(prompts.shown.size(), 4);
    EXPECT_EQ(prompts.shown[0].caption, u"Relatorio de Separação de Produto por loja"_s);
    EXPECT_EQ(prompts.shown[0].pages, 2); // one page per store
    EXPECT_EQ(prompts.shown[2].caption, u"Impressão de Pedidos Baixado para Atendimento"_s);
    EXPECT_EQ(prompts.boxes(), (QStringList { PrintQuestion, PrintQuestion }));
    EXPECT_EQ(status(u"B2"_s), u"Atendido"_s);
    EXPECT_EQ(listed(), QStringList { u"B1"_s });
    EXPECT_EQ(selected(), u"B1"_s);

    // On the attended orders nothing is prepared.
    prompts.clear();
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Atendidos));
    EXPECT_EQ(flow.printOrder(), DownloadedOrders::Printout::NotShown);
    EXPECT_EQ(
        prompts.transcript(), QStringList { u"[Erro] Esse pedido já foi atendido, não posso imprimir"_s });
}

TEST_F(DownloadedOrdersTest, PrintoutOfAnEmptyListAddsNoRow)
{
    addOrder(u"A1"_s, u"Atendido"_s);
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    prompts.answers = { true, true };
    EXPECT_EQ(flow.printOrder(), DownloadedOrders::Printout::Shown);
    EXPECT_EQ(flow.printStores(), DownloadedOrders::Printout::Shown);
    EXPECT_EQ(prompts.boxes(), (QStringList { PrintQuestion, PrintQuestion }));
    EXPECT_EQ(orders(), QStringList { u"A1|Atendido|2020-06-20|09:30:00|~|~"_s });
}

TEST_F(DownloadedOrdersTest, ClosingLeavesBothTablesClosedAndUnfiltered)
{
    addOrder(u"B1"_s, u"Baixado"_s);
    ASSERT_TRUE(flow.chooseList(DownloadedOrders::Baixados));
    select(u"B1"_s);
    flow.closeTables();
    for (RowSetBase *t : std::initializer_list<RowSetBase *> { &dm.PedidosLiberados(), &dm.PedFornec() })
        EXPECT_FALSE(t->isOpen()) << t->tableName().toStdString();
    EXPECT_FALSE(dm.ordersChosen());
    EXPECT_FALSE(dm.orderItemsChosen());
}
