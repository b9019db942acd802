#include "orders/order_fixture.h"
#include "orders/released_orders.h"
#include "quotations/quotation_fixture.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

using namespace Qt::StringLiterals;

namespace {

const QString Server = u"http://127.0.0.1:1/kelvo"_s;
const QStringList LogOk { u"log: Internet - ok"_s, u"log: Servidor do kelvo - ok "_s };
const QString Question = u"[Atenção] Dejesa baixar os itens do pedido : P1 ??????"_s;
const QString Success = u"[Atenção] BAIXADO COM SUCESSO"_s;
const QString Failure = u"[Erro] Alguma coisa aconteceu, tente novamente"_s;

class ReleasedOrdersTest : public OrderStoreTest {
protected:
    ReleasedOrdersTest() { restart(); }

    // A fresh workflow over the store as it is now, as the window opens.
    void restart()
    {
        flow = std::make_unique<ReleasedOrders>(prompts, dm, net, server, Server);
        flow->setLogin({ u"FORN"_s, u"SEG&REDO"_s });
        ASSERT_TRUE(flow->openTables());
    }

    void select(const QString &pedido) { ASSERT_TRUE(dm.gotoOrder(pedido)); }

    QStringList items()
    {
        return rows(u"SELECT CONTATO, PEDIDO, DATA, PRODUTO, APLICACAO, QTDE, VALOR, CONDPGTO, QTDELOJA1, "
                    "QTDELOJA3, NOMELOJA3, SIMILARES, OBS FROM PedidoFornc ORDER BY rowid"_s);
    }

    ScriptedPrompts prompts;
    FakeNet net;
    ScriptedTransport server;
    std::unique_ptr<ReleasedOrders> flow;
};

} // namespace

TEST_F(ReleasedOrdersTest, VerificarStoresNewOrdersAndReportsKnownOnes)
{
    addOrder(u"ATENDIDO-1"_s, u"Atendido"_s, u"2020-06-21"_s);
    restart();
    server.answers = { u"  P1 |Liberado|20/06/2020|09:30\r\n"
                       "\t|ignorada||\r\n"
                       "P2|Liberado||\r\n"
                       "atendido-1|Liberado|20/06/2020|09:30\r\n"
                       "P3|Liberado|21/06/2020|8:05|extra\r\n"
                       "\r\n"_s };
    EXPECT_TRUE(flow->fetchList());
    EXPECT_EQ(server.addresses, QStringList { Server + u"/net/getpedlib.php?user=FORN&pass=SEG%26REDO"_s });
    EXPECT_EQ(orders(),
        (QStringList { u"ATENDIDO-1|Atendido|2020-06-20|09:30:00|2020-06-21|10:00:00"_s,
            u"P1|Liberado|2020-06-20|09:30:00|~|~"_s, u"P2|Liberado|~|~|~|~"_s,
            u"P3|Liberado|2020-06-21|08:05:00|~|~"_s }));
    EXPECT_EQ(prompts.transcript(),
        QStringList { u"[Atenção] O Pedido : atendido-1 já está no seu banco, verifique se o itens já foram "
                      "baixado..."_s }
            + LogOk);

    // The second time every listed order is known, in any letter case.
    prompts.clear();
    server.answers = { u"p1|Liberado||\r\nP2|Liberado||\r\n"_s };
    EXPECT_TRUE(flow->fetchList());
    EXPECT_EQ(prompts.boxes(),
        (QStringList {
            u"[Atenção] O Pedido : p1 já está no seu banco, verifique se o itens já foram baixado..."_s,
            u"[Atenção] O Pedido : P2 já está no seu banco, verifique se o itens já foram baixado..."_s }));
    EXPECT_EQ(orders().size(), 4);
}

TEST_F(ReleasedOrdersTest, DuplicateCheckSearchesEveryOrderWhateverTheListShows)
{
    addOrder(u"P1"_s, u"Atendido"_s);
    dm.chooseOrders(u"Baixado"_s);
    dm.PedidosLiberados().open();
    server.answers = { u"P1|Liberado||"_s };
    EXPECT_TRUE(flow->fetchList());
    EXPECT_EQ(orders().size(), 1);
    EXPECT_EQ(prompts.boxes().size(), 1);
}

TEST_F(ReleasedOrdersTest, VerificarEmptyOrRefusedListChangesNothing)
{
    const struct {
        QString answer;
        bool answered;
        QString box;
    } cases[] = {
        { QString(), true, u"[Atenção] Nenhum Pedido foi liberado para você até o momento...."_s },
        { u" \r\n\t\r\n"_s, true, u"[Atenção] Nenhum Pedido foi liberado para você até o momento...."_s },
        // Blanks around the marker are stripped for the test; the text shown is the answer as received.
        { u" *usuário bloqueado\r\n"_s, false,
            u"[Atenção] Nenhuma Pedido liberada  para você... Erro :  *usuário bloqueado\r\n"_s },
    };
    for (const auto &c : cases) {
        prompts.clear();
        prompts.logsDiscarded = 0;
        server.answers = { c.answer };
        EXPECT_EQ(flow->fetchList(), c.answered);
        EXPECT_EQ(prompts.transcript(), QStringList { c.box });
        EXPECT_EQ(prompts.logsDiscarded, 1);
    }
    EXPECT_TRUE(orders().isEmpty());
}

TEST_F(ReleasedOrdersTest, VerificarStopsAtABadLineKeepingTheOrdersBefore)
{
    for (const QString &bad :
        { u"P2|Liberado|31/02/2020|10:00"_s, u"P2|Liberado|20/06/2020|10h"_s, u"P2|Liberado|20/06/2020"_s }) {
        OrderStoreTest::dm.PedidosLiberados().close();
        rows(u"DELETE FROM PedidosLiberados"_s);
        restart();
        prompts.clear();
        server.answers = { u"P1|Liberado||\r\n"_s + bad + u"\r\nP3|Liberado||\r\n"_s };
        EXPECT_FALSE(flow->fetchList());
        EXPECT_EQ(orders(), QStringList { u"P1|Liberado|~|~|~|~"_s }) << bad.toStdString();
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].kind, u"error"_s);
        EXPECT_EQ(dm.PedidosLiberados().rowCount(), 1); // the list shows what was stored
    }
}

TEST_F(ReleasedOrdersTest, BaixarOnlyFromLiberadoAndOnlyOnYes)
{
    // An empty list: nothing at all happens.
    EXPECT_FALSE(flow->downloadItems());
    EXPECT_TRUE(prompts.shown.isEmpty());

    addOrder(u"B"_s, u"Baixado"_s);
    addOrder(u"A"_s, u"Atendido"_s);
    addOrder(u"P1"_s, u"liberado"_s);
    restart();
    for (const QString &pedido : { u"B"_s, u"A"_s }) {
        select(pedido);
        prompts.clear();
        EXPECT_FALSE(flow->downloadItems());
        EXPECT_EQ(
            prompts.transcript(), QStringList { u"[Erro] Este status não permite baixar esse pedido...."_s });
    }
    EXPECT_EQ(prompts.logsCreated, 0);

    // "liberado" in any case proceeds: the checks, then the question; No ends
    // with the log window discarded unseen.
    select(u"P1"_s);
    prompts.clear();
    EXPECT_FALSE(flow->downloadItems());
    EXPECT_EQ(prompts.transcript(), QStringList { Question });
    EXPECT_EQ(prompts.logsCreated, 1);
    EXPECT_EQ(prompts.logsDiscarded, 1);
    EXPECT_TRUE(server.addresses.isEmpty());

    net.connected = false;
    prompts.clear();
    EXPECT_FALSE(flow->downloadItems());
    EXPECT_EQ(prompts.transcript(), QStringList { u"log: Problema com sua internet, verifique"_s });
}

TEST_F(ReleasedOrdersTest, BaixarStoresTheItemsAndMarksTheOrder)
{
    addOrder(u"P0"_s, u"Liberado"_s);
    addOrder(u"P1"_s, u"Liberado"_s);
    restart();
    select(u"P1"_s);
    prompts.answers = { true };
    server.answers = { orderItemLine(u"P1"_s, u"X2"_s, { { 7, u"GOL\rFOX"_s }, { 19, u"urgente"_s } })
        + u"\r\n"_s + orderItemLine(u"P1"_s, u"X1"_s, { { 10, u"1,25"_s } })
        + u"\r\n"_s
        // The same item again, its contact in another case: the later line's values.
        + orderItemLine(u"P1"_s, u"X1"_s, { { 0, u"marcos"_s }, { 10, u"2,5"_s }, { 14, u"4"_s } })
        + u"\r\n"_s + u"  |linha sem item\r\n"_s + u"BAIXADO COM SUCESSO\r\n"_s };
    EXPECT_TRUE(flow->downloadItems());
    EXPECT_EQ(
        server.addresses, QStringList { Server + u"/net/getpedforn.php?user=FORN&pass=SEG%26REDO&ped=P1"_s });
    EXPECT_EQ(items(),
        (QStringList {
            u"MARCOS|P1|2020-06-20|X2|GOL\rFOX|3.0|10.5|28 DDL|1.0|0.0|FILIAL 2|SIM-X2|urgente"_s,
            u"MARCOS|P1|2020-06-20|X1|Gol|3.0|2.5|28 DDL|1.0|4.0|FILIAL 2|SIM-X1|~"_s,
        }));
    EXPECT_EQ(prompts.transcript(), (QStringList { Question, Success } + LogOk));
    EXPECT_EQ(orders(),
        (QStringList { u"P0|Liberado|2020-06-20|09:30:00|~|~"_s,
            u"P1|Baixado|2020-06-20|09:30:00|2020-06-26|14:30:05"_s }));
}

TEST_F(ReleasedOrdersTest, StatusLineDecidesTheOutcome)
{
    const QString item = orderItemLine(u"P1"_s, u"X1"_s);
    const struct {
        QString answer;
        int items;
        QString box;
    } cases[] = {
        { u"BAIXADO COM SUCESSO"_s, 0, Success },
        { QString(), 0, Failure },
        { item + u"\r\nbaixado com sucesso\r\n"_s, 0, Failure },
        { item + u"\r\nBAIXADO COM SUCESSO \r\n"_s, 0, Failure },
        // A blank before the marker: records, not a refusal.
        { u" *negado"_s, 0, Failure },
        // An empty last line: the success line is read as an item line, which is too short.
        { item + u"\r\nBAIXADO COM SUCESSO\r\n\r\n"_s, 1,
            u"[CotaKelvo] A linha tem 1 campo(s), e são necessários 20."_s },
        { u"*pedido cancelado"_s, 0,
            u"[Atenção] Nenhuma pedido liberado  para você... Erro : *pedido cancelado"_s },
    };
    addOrder(u"P1"_s, u"Liberado"_s);
    for (const auto &c : cases) {
        rows(u"DELETE FROM PedidoFornc"_s);
        rows(u"UPDATE PedidosLiberados SET TipoStatus = 'Liberado'"_s);
        restart();
        prompts.clear();
        prompts.answers = { true };
        server.answers = { c.answer };
        const bool ok = c.box == Success;
        EXPECT_EQ(flow->downloadItems(), ok) << c.answer.toStdString();
        EXPECT_EQ(status(u"P1"_s), ok ? u"Baixado"_s : u"Liberado"_s);
        EXPECT_EQ(rows(u"SELECT PRODUTO FROM PedidoFornc"_s).size(), c.items) << c.answer.toStdString();
        EXPECT_EQ(prompts.boxes().last(), c.box);
        // The log closes the outcomes of the status line; a refusal and an error discard it unseen.
        EXPECT_EQ(prompts.shown.last().kind == u"log"_s, c.box == Success || c.box == Failure);
    }
}

TEST_F(ReleasedOrdersTest, FailedDownloadDeletesExactlyThatOrdersItems)
{
    addOrder(u"P'1"_s, u"Liberado"_s);
    addLine({ .produto = u"OLD"_s, .pedido = u"P'1"_s });
    addLine({ .produto = u"KEEP1"_s, .pedido = u"P'10"_s });
    addLine({ .produto = u"KEEP2"_s, .pedido = u"p'1"_s });
    restart();
    select(u"P'1"_s);
    prompts.answers = { true };
    server.answers = { orderItemLine(u"P'1"_s, u"NEW"_s) + u"\r\nERRO NO SERVIDOR"_s };
    EXPECT_FALSE(flow->downloadItems());
    EXPECT_EQ(server.addresses.value(0).section(u'&', -1), u"ped=P%271"_s);
    EXPECT_EQ(rows(u"SELECT PRODUTO FROM PedidoFornc ORDER BY PRODUTO"_s),
        (QStringList { u"KEEP1"_s, u"KEEP2"_s }));
    EXPECT_EQ(status(u"P'1"_s), u"Liberado"_s);
    EXPECT_FALSE(dm.orderItemsChosen()); // what the next window finds
}

TEST_F(ReleasedOrdersTest, BadItemLineStopsKeepingTheItemsBefore)
{
    const QMap<int, QString> bad[]
        = { { { 9, QString() } }, { { 10, u"1.5"_s } }, { { 14, u"x"_s } }, { { 2, u"32/01/2020"_s } } };
    addOrder(u"P1"_s, u"Liberado"_s);
    for (const auto &change : bad) {
        rows(u"DELETE FROM PedidoFornc"_s);
        restart();
        prompts.clear();
        prompts.answers = { true };
        server.answers
            = { orderItemLine(u"P1"_s, u"X1"_s) + u"\r\n"_s + orderItemLine(u"P1"_s, u"X2"_s, change)
                  + u"\r\n"_s + orderItemLine(u"P1"_s, u"X3"_s) + u"\r\nBAIXADO COM SUCESSO"_s };
        EXPECT_FALSE(flow->downloadItems());
        EXPECT_EQ(rows(u"SELECT PRODUTO FROM PedidoFornc"_s), QStringList { u"X1"_s });
        EXPECT_EQ(prompts.shown.last().kind, u"error"_s);
        EXPECT_EQ(status(u"P1"_s), u"Liberado"_s);
    }
    EXPECT_EQ(prompts.boxes().last(), u"[CotaKelvo] '32/01/2020' não é uma data válida."_s);
}
