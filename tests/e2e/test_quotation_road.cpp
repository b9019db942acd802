// The road of a quotation through the command-line tool against
// kelvo-buyer-sim: fetch, download, price, ready, send; then what the buyer
// received and what the store says.
#include "buyersim/buyer_state.h"
#include "cli/cli.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "support/cli_run.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

TEST(QuotationRoad, FetchDownloadPriceReadySend)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    // The machine's network interfaces play no part; the server check
    // reaches the simulator for real.
    FakeNet net;
    net.realServerCheck = true;

    TempFolder simDir;
    const QString statePath = simDir.file(u"state.json"_s);
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, statePath, u"--generate"_s, u"6"_s });
    ASSERT_FALSE(sim.url().isEmpty());
    ASSERT_FALSE(sim.generatedQuotation().isEmpty());
    const QString cota = sim.generatedQuotation();

    // The buyer's items, in the order the supplier's store browses them.
    const buyersim::BuyerState released = buyersim::BuyerState::load(statePath);
    ASSERT_NE(released.quotation(cota), nullptr);
    QList<buyersim::QuotationItem> byBrand = released.quotation(cota)->itens;
    ASSERT_EQ(byBrand.size(), 6);
    std::stable_sort(
        byBrand.begin(), byBrand.end(), [](const auto &a, const auto &b) { return a.marca < b.marca; });

    TempFolder dir;
    const auto cli = [&](const QStringList &args) { return runCliIn(dir, args, &net); };
    dir.write(u"server.new"_s, sim.url().toUtf8() + "\r\n");
    createDatabase(dir.file(u"CotaKelvo.new"_s));
    ASSERT_EQ(cli({ u"set-user"_s, u"DEMO"_s, u"DEMO123"_s }).status, 0);

    const CliRun fetched = cli({ u"quotations"_s, u"fetch"_s });
    ASSERT_EQ(fetched.status, 0) << fetched.out.join(u'\n').toStdString();
    const CliRun downloaded = cli({ u"--yes"_s, u"quotations"_s, u"download"_s, cota });
    ASSERT_EQ(downloaded.status, 0) << downloaded.out.join(u'\n').toStdString();

    // Two prices typed with the regional decimal comma, a similar item, an observation;
    // the other items stay without a price.
    const QString first = byBrand[0].produto;
    const QString second = byBrand[1].produto;
    for (const QStringList &typed : { QStringList { u"price"_s, cota, first, u"1234,50"_s, u"SIM-9"_s },
             QStringList { u"price"_s, cota, second, u"10"_s },
             QStringList { u"obs"_s, cota, second, u"promoção até sexta"_s } }) {
        const CliRun run = cli(QStringList { u"quotations"_s } + typed);
        ASSERT_EQ(run.status, 0) << run.out.join(u'\n').toStdString();
    }
    const CliRun ready = cli({ u"--yes"_s, u"quotations"_s, u"ready"_s, cota });
    ASSERT_EQ(ready.status, 0) << ready.out.join(u'\n').toStdString();

    // Without --yes the confirmation is answered No: nothing goes out.
    const CliRun declined = cli({ u"quotations"_s, u"send"_s, cota });
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(declined.out,
        QStringList { u"[Atenção] Confirme o envio desta cotação para o Kelvo Autopeças ????"_s });
    EXPECT_TRUE(buyersim::BuyerState::load(statePath).envios.isEmpty());

    const CliRun sent = cli({ u"--yes"_s, u"quotations"_s, u"send"_s, cota });
    ASSERT_EQ(sent.status, 0) << sent.out.join(u'\n').toStdString();
    EXPECT_EQ(sent.out,
        (QStringList { u"[Atenção] Confirme o envio desta cotação para o Kelvo Autopeças ????"_s,
            u"log: Internet - ok"_s, u"log: Servidor do kelvo - ok "_s,
            u"log: Recebidos 6 itens da cotação "_s + cota }));

    // What the buyer recorded: every item, in brand order, field by field.
    const buyersim::BuyerState after = buyersim::BuyerState::load(statePath);
    ASSERT_EQ(after.envios.size(), 1);
    const buyersim::Submission &envio = after.envios.first();
    EXPECT_EQ(envio.cotacao, cota);
    ASSERT_EQ(envio.itens.size(), 6);
    const QString data = released.quotation(cota)->liberada.toString(u"MM/dd/yyyy"_s);
    for (int k = 0; k < 6; ++k) {
        const buyersim::SubmittedItem &got = envio.itens[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(got.produto, byBrand[k].produto);
        EXPECT_EQ(got.contato, released.quotation(cota)->contato);
        EXPECT_EQ(got.cotacao, cota);
        EXPECT_EQ(got.data, data);
        EXPECT_EQ(got.qtde, QString::number(byBrand[k].qtde()));
        EXPECT_EQ(got.condPgto, byBrand[k].condPgto);
        EXPECT_EQ(got.valor, k == 0 ? u"1234.5"_s : k == 1 ? u"10"_s : QString());
        EXPECT_EQ(got.similares, k == 0 ? u"SIM-9"_s : QString());
        EXPECT_EQ(got.obs, k == 1 ? u"promoção até sexta"_s : QString());
    }

    // The store: sent, and no longer offered for sending.
    {
        TDm dm;
        dm.openStore(dir.file(u"CotaKelvo.new"_s));
        ReleasedQuotationSet &list = dm.CotaLiberada();
        list.open();
        ASSERT_TRUE(locateCotacao(list, cota));
        EXPECT_EQ(list.current()->tipoStatus, u"Enviada"_s);
    }
    const CliRun again = cli({ u"--yes"_s, u"quotations"_s, u"send"_s, cota });
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out,
        QStringList { u"[Atenção] A cotação "_s + cota
            + u" não está pronta para envio (status \"Enviar\"); nada foi enviado."_s });
}
