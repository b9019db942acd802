#include "buyersim/buyer_records.h"
#include "buyersim/buyer_state.h"
#include "common/regional.h"
#include "orders/downloaded_orders.h"
#include "orders/order_fixture.h"
#include "orders/order_report.h"
#include "orders/released_orders.h"
#include "orders/store_report.h"
#include "quotations/quotation_fixture.h"
#include "store/data_module.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/scripted_prompts.h"

#include <QMap>

namespace {

const QString Stamp = u"Impresso em : 26/06/2020 14:30:05"_s;
const QString OrderHeadings
    = u"Marca | Produto | Similar | Descrição do Produto | Un | Qtde | Valor | Total"_s;

QString footer(int page)
{
    return Stamp + u" | Página : "_s + QString::number(page);
}

} // namespace

using OrderReport = OrderStoreTest;

// The printouts laid out from lines in memory, at the same time of day.
class OrderPrintout : public testing::Test {
protected:
    OrderPrintout() { Clock::setCurrent(&clock); }
    ~OrderPrintout() override { Clock::setCurrent(nullptr); }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(14, 30, 5)) };
};

TEST_F(OrderReport, PrintsItemsInBrandOrderWithLineValuesAndTotal)
{
    addLine({ .produto = u"1"_s, .marca = u"VALEO"_s, .qtde = 1.5, .valor = 3.0 });
    addLine({ .produto = u"2"_s, .marca = u"BOSCH"_s, .descricao = u"Filtro"_s, .qtde = 3.0, .valor = 2.5 });
    addLine({ .produto = u"3"_s, .marca = u"COFAP"_s, .qtde = 1.0, .valor = 1.004 });
    addLine({ .produto = u"5"_s, .marca = u"DELPHI"_s, .qtde = 1.0, .valor = 0.004 });
    addLine({ .produto = u"4"_s, .marca = u"AAA"_s, .qtde = QVariant(), .valor = 4.0 });
    addLine({ .produto = u"9"_s, .pedido = u"P2"_s }); // another order

    const PreparedReport r = prepareOrderReport(dm, u"P1"_s);

    EXPECT_EQ(r.title, u"Impressão de Pedidos Baixado para Atendimento"_s);
    EXPECT_EQ(r.fileName, u"Pedido P1"_s); // what a save proposes
    ASSERT_EQ(r.pages.size(), 1u);
    // The maker's code prints under "Produto"; the buyer's code does not
    // print; the quantity is in the general format; the total is the sum of
    // the unrounded line values (7,5 + 1,004 + 0,004 + 4,5 = 13,008).
    EXPECT_EQ(pageLines(r.pages[0]),
        QStringList({
            u"Atender e Faturar o pedido : P1"_s,
            OrderHeadings,
            u"AAA | PF-4 | SIM | Peça | UN |  | 4,00 | 0,00"_s,
            u"BOSCH | PF-2 | SIM | Filtro | UN | 3 | 2,50 | 7,50"_s,
            u"COFAP | PF-3 | SIM | Peça | UN | 1 | 1,00 | 1,00"_s,
            u"DELPHI | PF-5 | SIM | Peça | UN | 1 | 0,00 | 0,00"_s,
            u"VALEO | PF-1 | SIM | Peça | UN | 1,5 | 3,00 | 4,50"_s,
            u"Valor Total | 13,01"_s,
            footer(1),
        }));
    // Numbers reach a spreadsheet as numbers, texts as texts.
    const PreparedText *line = findText(r.pages[0], u"7,50"_s);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->cell.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(line->cell.toDouble(), 7.5);
}

TEST_F(OrderPrintout, LongOrderRunsOverPagesWithHeaderAndFooterOnEach)
{
    std::vector<ItemPrintLine> lines;
    for (int i = 0; i < 120; ++i)
        lines.push_back({ .marca = u"BOSCH"_s, .prodfabr = u"PF-%1"_s.arg(i), .qtde = 2.0, .valor = 0.5 });

    const PreparedReport r = orderReport(u"P1"_s, lines).take();

    ASSERT_EQ(r.pages.size(), 3u);
    int details = 0;
    for (const PreparedPage &page : r.pages) {
        const QStringList lines = pageLines(page);
        EXPECT_EQ(lines.first(), u"Atender e Faturar o pedido : P1"_s);
        EXPECT_EQ(lines[1], OrderHeadings);
        EXPECT_EQ(lines.last(), footer(page.number));
        details += int(lines.filter(u"PF-"_s).size());
        // The footer sits at the page's foot, 7 mm from the bottom edge.
        EXPECT_DOUBLE_EQ(page.lines.back().items.front().box.top(), 1123 - 26 - 18);
    }
    EXPECT_EQ(details, 120);
    EXPECT_EQ(pageLines(r.pages[0]).filter(u"PF-"_s).size(), 55); // (1123 - 19 - 26 - 62 - 18) / 18
    EXPECT_EQ(pageLines(r.pages[2]).filter(u"Valor Total"_s), QStringList { u"Valor Total | 120,00"_s });
    EXPECT_TRUE(pageLines(r.pages[0]).filter(u"Valor Total"_s).isEmpty());
}

TEST_F(OrderPrintout, OrderWithoutItemsPrintsOnePageWithZeroTotal)
{
    const PreparedReport r = orderReport(u"NADA"_s, {}).take();
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(pageLines(r.pages[0]),
        QStringList(
            { u"Atender e Faturar o pedido : NADA"_s, OrderHeadings, u"Valor Total | 0,00"_s, footer(1) }));
}

TEST_F(OrderReport, EachPreparationReadsTheOrderAsItIsNow)
{
    addLine({ .produto = u"1"_s });
    EXPECT_EQ(pageLines(prepareOrderReport(dm, u"P1"_s).pages[0]).filter(u"PF-"_s).size(), 1);
    addLine({ .produto = u"2"_s });
    clock.set(QDateTime(QDate(2020, 6, 27), QTime(8, 0, 0)));
    const PreparedReport again = prepareOrderReport(dm, u"P1"_s);
    EXPECT_EQ(pageLines(again.pages[0]).filter(u"PF-"_s).size(), 2);
    EXPECT_EQ(pageLines(again.pages[0]).last(), u"Impresso em : 27/06/2020 08:00:00 | Página : 1"_s);
}

using StoreReport = OrderStoreTest;

TEST_F(StoreReport, EachStoreOnItsOwnPagesWithItsTotal)
{
    const QStringList names { u"Loja Centro"_s, u"Loja Norte"_s, u"Loja Centro"_s };
    // Store 1 and 3 carry the same name: one section.
    addLine({ .produto = u"1"_s, .qtde = 4.0, .valor = 2.0, .lojas = { 1.5, 2.0, 0.5 }, .nomes = names });
    // No store quantity, or a zero price: in no section.
    addLine({ .produto = u"2"_s, .lojas = { QVariant(), 0.0, QVariant() } });
    addLine({ .produto = u"3"_s, .valor = 0.0, .lojas = { 1.0, 1.0, 1.0 } });
    // Agrees with item 1 for store 1 in every printed column: a line of its
    // own all the same, since both go to that store.
    addLine({ .produto = u"4"_s,
        .qtde = 4.0,
        .valor = 2.0,
        .lojas = { 1.5, QVariant(), QVariant() },
        .nomes = names,
        .prodfabr = u"PF-1"_s });

    const PreparedReport r = prepareStoreReport(dm, u"P1"_s);

    EXPECT_EQ(r.title, u"Relatorio de Separação de Produto por loja"_s);
    EXPECT_EQ(r.fileName, u"Pedido P1 por loja"_s);
    const QString title = u"Relatório para separação dos produtos atendidos por Loja"_s;
    ASSERT_EQ(r.pages.size(), 2u);
    EXPECT_EQ(pageLines(r.pages[0]),
        QStringList({
            title,
            Stamp,
            u"Loja :  | Loja Centro"_s,
            OrderHeadings,
            u"BOSCH | PF-1 | SIM | Peça | UN | 0,50 | 2,00 | 1,00"_s,
            u"BOSCH | PF-1 | SIM | Peça | UN | 1,50 | 2,00 | 3,00"_s,
            u"BOSCH | PF-1 | SIM | Peça | UN | 1,50 | 2,00 | 3,00"_s,
            u"Total Loja :  | 7,00"_s,
            footer(1),
        }));
    EXPECT_EQ(pageLines(r.pages[1]),
        QStringList({
            title,
            Stamp,
            u"Loja :  | Loja Norte"_s,
            OrderHeadings,
            u"BOSCH | PF-1 | SIM | Peça | UN | 2,00 | 2,00 | 4,00"_s,
            u"Total Loja :  | 4,00"_s,
            footer(2),
        }));
}

TEST_F(OrderPrintout, LongStoreNamePrintsWholeAndStaysApartFromItsNeighbour)
{
    const QString longName = u"DISTRIBUIDORA CENTRO"_s; // 20 characters
    const QString sameStart = u"DISTRIBUIDORA NORTE"_s;
    const PreparedReport r = storeReport(u"P1"_s,
        { { .loja = longName, .qtdeLoja = 1, .valor = 10, .vlTot = 10 },
            { .loja = sameStart, .qtdeLoja = 1, .valor = 10, .vlTot = 10 } })
                                 .take();

    ASSERT_EQ(r.pages.size(), 2u);
    const PreparedText *name = findText(r.pages[0], longName);
    ASSERT_TRUE(name);
    EXPECT_FALSE(name->cut);
    EXPECT_GT(name->box.width(), 120); // wider than its design width
    EXPECT_TRUE(findText(r.pages[1], sameStart));
}

TEST_F(OrderPrintout, SectionLongerThanAPageRepeatsItsHeadingOnTheNextPage)
{
    std::vector<StorePickingLine> lines;
    for (int i = 0; i < 70; ++i)
        lines.push_back({ .loja = u"Loja Centro"_s,
            .produto = u"PF-%1"_s.arg(i),
            .qtdeLoja = 1,
            .valor = 10,
            .vlTot = 10 });
    lines.push_back(
        { .loja = u"Loja Norte"_s, .produto = u"PF-999"_s, .qtdeLoja = 1, .valor = 10, .vlTot = 10 });

    const PreparedReport r = storeReport(u"P1"_s, lines).take();

    ASSERT_EQ(r.pages.size(), 3u);
    const QStringList p1 = pageLines(r.pages[0]), p2 = pageLines(r.pages[1]), p3 = pageLines(r.pages[2]);
    EXPECT_EQ(p1.mid(2, 2), QStringList({ u"Loja :  | Loja Centro"_s, OrderHeadings }));
    EXPECT_EQ(p2.mid(2, 2), QStringList({ u"Loja :  | Loja Centro"_s, OrderHeadings }));
    EXPECT_EQ(p3.mid(2, 2), QStringList({ u"Loja :  | Loja Norte"_s, OrderHeadings }));
    EXPECT_EQ(p1.filter(u"PF-"_s).size() + p2.filter(u"PF-"_s).size(), 70);
    EXPECT_TRUE(p1.filter(u"Total Loja"_s).isEmpty());
    EXPECT_EQ(p2.filter(u"Total Loja"_s), QStringList { u"Total Loja :  | 700,00"_s });
    EXPECT_EQ(p3.filter(u"Total Loja"_s), QStringList { u"Total Loja :  | 10,00"_s });
    EXPECT_EQ(p3.last(), footer(3));
}

TEST_F(StoreReport, OrderWithoutStoreQuantitiesPrintsOnePageWithoutSections)
{
    addLine({ .produto = u"1"_s, .lojas = { QVariant(), QVariant(), QVariant() } });
    const PreparedReport r = prepareStoreReport(dm, u"P1"_s);
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(pageLines(r.pages[0]),
        QStringList({ u"Relatório para separação dos produtos atendidos por Loja"_s, Stamp, footer(1) }));
}

// The picking list of a generated order, downloaded as from the buyer, holds
// for every store the lines and the total the orders window shows for it,
// also where two lines of a store agree in every printed column.
TEST_F(StoreReport, EveryStorePrintsTheLinesAndTotalTheWindowShows)
{
    buyersim::BuyerState buyer;
    const QString pedido = buyersim::addGenerated(buyer, 120, QDate(2020, 6, 20)).pedido;
    const buyersim::Order &order = *buyer.order(pedido);
    QStringList answer;
    for (const buyersim::OrderItem &item : order.itens)
        answer << buyersim::orderItemRecord(order, item, buyer.lojas);
    answer << QString(buyersim::orderSuccessLine);
    addOrder(pedido, u"Liberado"_s);
    ScriptedPrompts prompts;
    prompts.answers = { true };
    FakeNet net;
    ScriptedTransport server;
    server.answers = { answer.join(u"\r\n"_s) + u"\r\n"_s };
    ReleasedOrders download(prompts, dm, net, server, u"http://127.0.0.1:1"_s);
    ASSERT_TRUE(download.openTables());
    ASSERT_TRUE(dm.gotoOrder(pedido));
    ASSERT_TRUE(download.downloadItems());

    DownloadedOrders window(prompts, dm);
    ASSERT_TRUE(window.chooseList(DownloadedOrders::Baixados));
    ASSERT_TRUE(dm.gotoOrder(pedido));
    ASSERT_TRUE(window.followSelectedOrder());
    const PreparedReport r = prepareStoreReport(dm, pedido);

    // Per store as printed: its detail lines and its "Total Loja" line.
    struct Section {
        QStringList lines;
        QString total;
    };
    QMap<QString, Section> printed;
    QString loja;
    for (const PreparedPage &page : r.pages) {
        for (const QString &line : pageLines(page)) {
            const QStringList cells = line.split(u" | "_s);
            if (cells.first() == u"Loja : ")
                loja = cells.value(1);
            else if (cells.first() == u"Total Loja : ")
                printed[loja].total = cells.value(1);
            else if (cells.size() == 8 && cells.first() != u"Marca")
                printed[loja].lines << cells.join(u'|');
        }
    }

    ASSERT_EQ(printed.size(), 3);
    int repeated = 0; // lines that agree with another of their store in every printed column
    for (int k = 0; k < 3; ++k) {
        const QString name = buyer.lojas[k];
        SCOPED_TRACE(name.toStdString());
        QStringList wanted;
        for (const buyersim::OrderItem &item : order.itens)
            if (item.qtdeLoja[k] * item.valor > 0)
                wanted << QStringList(
                    { item.marca, item.prodFabr, item.similares, item.descricao, item.un,
                        numberText(item.qtdeLoja[k], u"0.00"_s), numberText(item.valor, u"0.00"_s),
                        numberText(item.qtdeLoja[k] * item.valor, u"0.00"_s) })
                              .join(u'|');
        QStringList got = printed.value(name).lines;
        got.sort();
        wanted.sort();
        EXPECT_EQ(got, wanted);
        repeated += int(wanted.size() - QSet<QString>(wanted.cbegin(), wanted.cend()).size());

        const QString shown = window.totals().lojas[size_t(k)];
        ASSERT_TRUE(shown.startsWith(u"Tot. "_s + name + u" = "_s)) << shown.toStdString();
        EXPECT_EQ(requiredNumber(printed.value(name).total), QLocale().toDouble(shown.section(u" = "_s, 1)))
            << printed.value(name).total.toStdString() << " / " << shown.toStdString();
    }
    EXPECT_GT(repeated, 0); // the order does hold such lines
}
