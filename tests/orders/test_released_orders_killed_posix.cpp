// A download killed at each of its boxes. A kill without destructors needs a
// child process that fork() makes, so these tests run where fork() exists.
#include "orders/order_fixture.h"
#include "orders/released_orders.h"
#include "quotations/quotation_fixture.h"
#include "support/killed_run.h"

using namespace Qt::StringLiterals;

namespace {

const QString Server = u"http://127.0.0.1:1/kelvo"_s;

} // namespace

TEST(ReleasedOrdersKilled, TheOutcomeIsOnDiskWithTheItemsOrNotAtAll)
{
    const QString items
        = orderItemLine(u"P1"_s, u"X1"_s) + u"\r\n"_s + orderItemLine(u"P1"_s, u"X2"_s) + u"\r\n"_s;
    const struct {
        const char *name;
        QString answer;
        QString outcome;
    } cases[] = {
        { "success", items + u"BAIXADO COM SUCESSO\r\n"_s, u"Baixado 2"_s },
        // A failed download leaves no item behind, also when killed after it was told.
        { "failure", items + u"ERRO\r\n"_s, u"Liberado 0"_s },
    };
    for (const auto &c : cases) {
        // The boxes of a download: the question, the outcome, the log window.
        for (int box = 1; box <= 4; ++box) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(box));
            TestStore store;
            store.exec(u"INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES ('P1', 'Liberado')"_s);
            const KilledRun run = runKilledAtBox(box, [&](Prompts &prompts) {
                TDm dm;
                dm.openStore(store.path());
                FakeNet net;
                ScriptedTransport server;
                server.answers = { c.answer };
                ReleasedOrders flow(prompts, dm, net, server, Server);
                flow.openTables();
                flow.downloadItems();
            });
            EXPECT_EQ(run, box < 4 ? KilledRun::Killed : KilledRun::Finished);
            EXPECT_EQ(store.rows(u"SELECT TipoStatus FROM PedidosLiberados"_s).value(0) + u' '
                    + QString::number(store.count(u"PedidoFornc"_s)),
                box == 1 ? u"Liberado 0"_s : c.outcome);
        }
    }
}
