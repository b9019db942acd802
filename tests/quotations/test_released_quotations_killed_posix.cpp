// A download killed at each of its boxes. A kill without destructors needs a
// child process that fork() makes, so these tests run where fork() exists.
#include "quotation_fixture.h"
#include "quotations/released_quotations.h"
#include "support/killed_run.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Server = u"http://127.0.0.1:1/kelvo"_s;

} // namespace

TEST(ReleasedQuotationsKilled, TheStatusIsOnDiskWithItsItemsOrNotAtAll)
{
    // The boxes of a download: the question, "BAIXADA COM SUCESSO", the log window.
    for (int box = 1; box <= 4; ++box) {
        SCOPED_TRACE(box);
        TestStore store;
        store.addQuotation(u"C1"_s, u"ABERTA"_s);
        const KilledRun run = runKilledAtBox(box, [&](Prompts &prompts) {
            TDm dm;
            dm.openStore(store.path());
            FakeNet net;
            ScriptedTransport server;
            server.answers = { itemLine(u"C1"_s, u"P1"_s) + u"\r\n"_s + itemLine(u"C1"_s, u"P2"_s)
                + u"\r\nBAIXADA COM SUCESSO\r\n"_s };
            ReleasedQuotations flow(prompts, dm, net, server, Server);
            flow.openTables();
            locateCotacao(dm.CotaLiberada(), u"C1"_s);
            flow.downloadItems();
        });
        EXPECT_EQ(run, box < 4 ? KilledRun::Killed : KilledRun::Finished);
        // Once the supplier is told the download succeeded, all of it is stored.
        EXPECT_EQ(store.status(u"C1"_s) + u' ' + QString::number(store.count(u"CotacaoFornc"_s)),
            box == 1 ? u"ABERTA 0"_s : u"Baixada 2"_s);
    }
}
