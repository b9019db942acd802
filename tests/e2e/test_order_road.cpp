// The road of an order through the command-line tool against
// kelvo-buyer-sim: fetch the list, download one order, check its items and
// totals, attend it and bring it back, print it and confirm.
#include "buyersim/buyer_state.h"
#include "store/schema.h"
#include "support/cli_run.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString money(double value)
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(value, 'f', 2);
}

} // namespace

TEST(OrderRoad, FetchDownloadTotalsAttendAndPrint)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    TempFolder simDir;
    const QString statePath = simDir.file(u"state.json"_s);
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, statePath });
    ASSERT_FALSE(sim.url().isEmpty());
    const buyersim::BuyerState buyer = buyersim::BuyerState::load(statePath);
    ASSERT_EQ(buyer.pedidos.size(), 2);
    const buyersim::Order &first = buyer.pedidos[0];
    const buyersim::Order &order = buyer.pedidos[1]; // for two stores
    const QString pedido = order.numero;

    TempFolder dir;
    dir.write(u"server.new"_s, sim.url().toUtf8() + "\r\n");
    createDatabase(dir.file(u"CotaKelvo.new"_s));
    ASSERT_EQ(runCliIn(dir, { u"set-user"_s, u"DEMO"_s, u"DEMO123"_s }).status, 0);
    // The machine's network interfaces play no part; the server check
    // reaches the simulator for real.
    FakeNet net;
    net.realServerCheck = true;
    const auto cli = [&](const QStringList &args) { return runCliIn(dir, args, &net); };

    const CliRun fetched = cli({ u"orders"_s, u"fetch"_s });
    ASSERT_EQ(fetched.status, 0) << fetched.out.join(u'\n').toStdString();
    const QString liberado
        = order.liberado.toString(Qt::ISODate) + u'|' + order.horaLiberado.toString(u"HH:mm"_s);
    EXPECT_EQ(cli({ u"orders"_s, u"list"_s }).out,
        (QStringList { first.numero + u"|Liberado|"_s + first.liberado.toString(Qt::ISODate) + u'|'
                + first.horaLiberado.toString(u"HH:mm"_s) + u"||"_s,
            pedido + u"|Liberado|"_s + liberado + u"||"_s }));

    // Without --yes the question is answered No: nothing is asked of the server.
    EXPECT_EQ(cli({ u"orders"_s, u"download"_s, pedido }).status, 1);
    EXPECT_TRUE(cli({ u"orders"_s, u"items"_s, pedido }).out.isEmpty());
    const CliRun downloaded = cli({ u"--yes"_s, u"orders"_s, u"download"_s, pedido });
    ASSERT_EQ(downloaded.status, 0) << downloaded.out.join(u'\n').toStdString();
    EXPECT_EQ(downloaded.out,
        (QStringList { u"[Atenção] Dejesa baixar os itens do pedido : "_s + pedido + u" ??????"_s,
            u"[Atenção] BAIXADO COM SUCESSO"_s, u"log: Internet - ok"_s,
            u"log: Servidor do kelvo - ok "_s }));
    const QStringList list = cli({ u"orders"_s, u"list"_s }).out;
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[1].startsWith(pedido + u"|Baixado|"_s + liberado + u'|'));
    EXPECT_TRUE(QDate::fromString(list[1].section(u'|', 4, 4), Qt::ISODate).isValid());

    // Every item as the buyer released it, in the order it came.
    const QStringList items = cli({ u"orders"_s, u"items"_s, pedido }).out;
    ASSERT_EQ(items.size(), order.itens.size());
    double total = 0;
    std::array<double, 3> perStore {};
    for (qsizetype k = 0; k < items.size(); ++k) {
        const buyersim::OrderItem &want = order.itens[k];
        const QStringList got = items[k].split(u'|');
        SCOPED_TRACE(k);
        ASSERT_EQ(got.size(), 20);
        EXPECT_EQ(got[0], order.contato);
        EXPECT_EQ(got[1], pedido);
        EXPECT_EQ(got[2], order.liberado.toString(Qt::ISODate));
        EXPECT_EQ(got[3], want.produto);
        EXPECT_EQ(got[5], want.descricao);
        EXPECT_EQ(got[7], QString(want.aplicacao).replace(u"\r\n"_s, u"\\r"_s));
        EXPECT_EQ(got[9], QString::number(want.qtde()));
        EXPECT_EQ(got[10], QString::number(want.valor));
        for (int loja = 0; loja < 3; ++loja) {
            EXPECT_EQ(got[14 + loja], QString::number(want.qtdeLoja[loja]));
            EXPECT_EQ(got[17 + loja], buyer.lojas[loja]);
            perStore[loja] += want.qtdeLoja[loja] * want.valor;
        }
        total += want.qtde() * want.valor;
    }
    ASSERT_GE(total, 1000);
    EXPECT_EQ(cli({ u"orders"_s, u"totals"_s, pedido }).out,
        (QStringList { u"Valor Total Ped. : "_s + money(total),
            u"Tot. "_s + buyer.lojas[0] + u" = "_s + money(perStore[0]),
            u"Tot. "_s + buyer.lojas[1] + u" = "_s + money(perStore[1]),
            u"Tot. "_s + buyer.lojas[2] + u" = 0,00"_s }));

    // Attended with F4, brought back with F11, then printed and confirmed.
    EXPECT_EQ(cli({ u"--yes"_s, u"orders"_s, u"attend"_s, pedido }).status, 0);
    EXPECT_TRUE(cli({ u"orders"_s, u"list"_s }).out.value(1).startsWith(pedido + u"|Atendido|"_s));
    EXPECT_EQ(cli({ u"--yes"_s, u"orders"_s, u"print"_s, pedido }).status, 1);
    EXPECT_EQ(cli({ u"--yes"_s, u"orders"_s, u"unattend"_s, pedido }).status, 0);
    const CliRun printed
        = cli({ u"--yes"_s, u"orders"_s, u"print-stores"_s, pedido, u"--pdf"_s, dir.file(u"lojas.pdf"_s) });
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out.value(0), u"pages: 2"_s);
    EXPECT_TRUE(QFileInfo(dir.file(u"lojas.pdf"_s)).size() > 0);
    EXPECT_TRUE(cli({ u"orders"_s, u"list"_s }).out.value(1).startsWith(pedido + u"|Atendido|"_s));
}
