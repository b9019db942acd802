#include "price_window_fixture.h"
#include "quotation_fixture.h"
#include "quotations/last_prices.h"
#include "quotations/widgets/item_panels.h"
#include "quotations/widgets/price_entry_window.h"
#include "quotations/widgets/price_history_chart.h"
#include "quotations/widgets/price_history_window.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The quotation being priced, ATUAL, and the supplier's earlier ones.
class LastPriceTest : public ::testing::Test {
protected:
    LastPriceTest()
    {
        store.exec(u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus) VALUES ('ATUAL', 'Baixada')"_s);
        item(u"ATUAL"_s, u"2020-06-10"_s, u"P1"_s, u"Bosch"_s, u"f-100"_s);
        item(u"ATUAL"_s, u"2020-06-10"_s, u"P2"_s, u"AÇO"_s, u"ÇX-1"_s);
        item(u"ATUAL"_s, u"2020-06-10"_s, u"P3"_s, u"NGK"_s, u"SP-9"_s, 7.0);
        item(u"ATUAL"_s, u"2020-06-10"_s, u"P4"_s, u"NGK"_s, QString());
        item(u"ATUAL"_s, u"2020-06-10"_s, u"P5"_s, u"Outra"_s, u"F-100"_s);

        item(u"Q1"_s, u"2020-05-01"_s, u"X1"_s, u"BOSCH"_s, u"F-100"_s, 10.0);
        item(u"Q1"_s, u"2020-05-01"_s, u"X2"_s, u"aço"_s, u"çx-1"_s, 5.0);
        item(u"Q2"_s, u"2020-06-01"_s, u"X1"_s, u"bosch"_s, u"F-100"_s, 12.0); // the newest price
        item(u"Q3"_s, u"2020-06-05"_s, u"X1"_s, u"BOSCH"_s, u"F-100"_s); // newer, never priced
        item(u"Q4"_s, u"2020-06-07"_s, u"X1"_s, u"BOSCH"_s, u"F-100"_s, 0.0); // a zero is no price
        item(u"atual"_s, u"2020-06-09"_s, u"X3"_s, u"NGK"_s, u"SP-9"_s, 8.0); // the same quotation
        item(u"Q1"_s, u"2020-05-01"_s, u"X4"_s, u"NGK"_s, QString(), 3.0); // names no part
    }

    void item(const QString &cotacao, const QString &data, const QString &produto, const QString &marca,
        const QString &prodfabr, const QVariant &valor = {})
    {
        store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, VALOR) "
                   "VALUES ('ACME', ?, ?, ?, ?, ?, ?)"_s,
            { cotacao, data, produto, marca, prodfabr.isNull() ? QVariant() : QVariant(prodfabr), valor });
    }

    QString valor(const QString &produto)
    {
        return store
            .rows(u"SELECT VALOR FROM CotacaoFornc WHERE COTACAO = 'ATUAL' AND PRODUTO = ?"_s, { produto })
            .value(0);
    }

    TestStore store;
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(LastPriceTest, TheNewestPriceOfTheSamePartInAnotherQuotationIgnoringCase)
{
    const QuotationLastPrices prices = lastPricesOf(store.dm.Banco(), u"ATUAL"_s);
    EXPECT_EQ(prices.items, 5);
    QStringList found;
    for (const ItemLastPrice &i : prices.found)
        found << u"%1 %2 %3 %4"_s.arg(i.produto)
                     .arg(i.price.valor)
                     .arg(i.price.cotacao, i.price.data.toString(Qt::ISODate));
    // In brand order; P3 was priced only in this quotation, P4 names no part,
    // P5's brand was never priced.
    EXPECT_EQ(found, (QStringList { u"P2 5 Q1 2020-05-01"_s, u"P1 12 Q2 2020-06-01"_s }));
    EXPECT_EQ(lastPricesOf(store.dm.Banco(), u"NADA"_s).items, 0);
}

TEST_F(LastPriceTest, ACodeWrittenAnotherWayIsFoundWhenTheSameCodeIsNot)
{
    item(u"Q5"_s, u"2020-06-08"_s, u"X1"_s, u"BOSCH"_s, u"F 100"_s, 20.0); // newer, but loose
    item(u"Q1"_s, u"2020-05-01"_s, u"X5"_s, u"Bosch"_s, u"f/200"_s, 3.0);
    item(u"Q2"_s, u"2020-06-01"_s, u"X5"_s, u"Bosch"_s, u"F.2.0.0"_s, 4.0);
    item(u"Q1"_s, u"2020-05-01"_s, u"X6"_s, u"aço"_s, u"çx\u20132"_s, 6.0); // an en dash
    struct Case {
        QString marca;
        QString prodfabr;
        QString found; // price, quotation and how
    };
    const Case cases[] = {
        { u"Bosch"_s, u"f-100"_s, u"12 Q2 exato"_s }, // the same code wins over a newer loose one
        { u"BOSCH"_s, u"F100"_s, u"20 Q5 solto"_s },
        { u"BOSCH"_s, u"F-200"_s, u"4 Q2 solto"_s }, // the newest loose one
        { u"AÇO"_s, u"ÇX 2"_s, u"6 Q1 solto"_s }, // beyond ASCII
        { u"AÇO"_s, u"ÇX-1"_s, u"5 Q1 exato"_s },
        { u"NGK"_s, u"F-100"_s, QString() }, // another brand
        { u"BOSCH"_s, u" - "_s, QString() },
    };
    LastPrices prices(store.dm.Banco());
    for (const Case &c : cases) {
        const std::optional<LastPrice> p = prices.find(u"ATUAL"_s, c.marca, c.prodfabr);
        const QString found = p ? u"%1 %2 %3"_s.arg(p->valor).arg(
                                  p->cotacao, p->match == CodeMatch::Exact ? u"exato"_s : u"solto"_s)
                                : QString();
        EXPECT_EQ(found, c.found) << c.prodfabr.toStdString();
    }
}

TEST_F(LastPriceTest, PriceEntryShowsTheLastPriceAndF3OrTheButtonTakesIt)
{
    TPrecoCota window(prompts, store.dm);
    showWithQuotation(window, u"ATUAL"_s);
    ItemPanels *panels = window.DBCtrlGrid1();
    QTableView *grid = window.dbgrd1();

    // The current item is the first by brand: P2.
    EXPECT_EQ(panels->noteText(0), u"Último preço (F3) : 5,00 - Cotação : Q1 de 01/05/2020"_s);
    EXPECT_EQ(panels->noteText(1), QString());
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(panels->noteText(0), u"Último preço (F3) : 12,00 - Cotação : Q2 de 01/06/2020"_s);
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_EQ(valor(u"P1"_s), u"12.0"_s);
    EXPECT_EQ(grid->model()->index(1, 5).data().toString(), u"12,00"_s);
    QTest::keyClick(grid, Qt::Key_Down); // P3: none
    EXPECT_EQ(panels->noteText(0), QString());
    // F3 then says so in the panel, until the next item is current.
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_EQ(valor(u"P3"_s), u"7.0"_s);
    EXPECT_EQ(panels->noteText(0), u"Sem último preço para este item."_s);
    EXPECT_EQ(panels->noteText(1), QString());
    EXPECT_TRUE(prompts.boxes().isEmpty());
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(panels->noteText(0), QString());

    // "Últimos preços": P2 is the one item without a price that has a last one.
    EXPECT_EQ(window.btn7()->text(), u"Últimos preços"_s);
    prompts.answers = { false };
    QTest::mouseClick(window.btn7(), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Será preenchido com o último preço 1 item sem preço. "
                      "Confirma???"_s });
    EXPECT_EQ(valor(u"P2"_s), u"~"_s);
    EXPECT_EQ(window.lblPrecos()->text(), u"2 de 5 itens com preço"_s);
    prompts.answers = { true };
    QTest::mouseClick(window.btn7(), Qt::LeftButton);
    EXPECT_EQ(valor(u"P2"_s), u"5.0"_s);
    EXPECT_EQ(window.lblPrecos()->text(), u"3 de 5 itens com preço"_s); // the count follows
    EXPECT_EQ(grid->model()->index(0, 5).data().toString(), u"5,00"_s);
    EXPECT_EQ(store.dm.CotaFornec().current()->produto, u"P3"_s); // the current item stays

    prompts.clear();
    QTest::mouseClick(window.btn7(), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(), QStringList { u"[Atenção] Nenhum item sem preço tem um último preço."_s });
}

TEST_F(LastPriceTest, CommandLineListsAndFillsTheLastPrices)
{
    store.folder.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    const CliRun listed = runCliIn(store.folder, { u"quotations"_s, u"last-prices"_s, u"ATUAL"_s });
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(
        listed.out, (QStringList { u"P2|AÇO|ÇX-1|5|Q1|2020-05-01"_s, u"P1|Bosch|f-100|12|Q2|2020-06-01"_s }));
    EXPECT_EQ(runCliIn(store.folder, { u"quotations"_s, u"last-prices"_s, u"NADA"_s }).status, 1);

    const CliRun declined = runCliIn(store.folder, { u"quotations"_s, u"fill-last"_s, u"ATUAL"_s });
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(valor(u"P1"_s), u"~"_s);
    const CliRun filled = runCliIn(store.folder, { u"--yes"_s, u"quotations"_s, u"fill-last"_s, u"ATUAL"_s });
    EXPECT_EQ(filled.status, 0);
    EXPECT_EQ(filled.out,
        QStringList { u"[Atenção] Serão preenchidos com o último preço 2 itens sem preço. "
                      "Confirma???"_s });
    EXPECT_EQ(store.rows(u"SELECT PRODUTO, VALOR FROM CotacaoFornc WHERE COTACAO = 'ATUAL' ORDER BY 1"_s),
        (QStringList { u"P1|12.0"_s, u"P2|5.0"_s, u"P3|7.0"_s, u"P4|~"_s, u"P5|~"_s }));
}

TEST_F(LastPriceTest, HistoryHasOnePricePerQuotationOldestFirstTheCodeAsWrittenWinning)
{
    item(u"Q5"_s, u"2020-06-08"_s, u"X1"_s, u"BOSCH"_s, u"F 100"_s, 20.0);
    item(u"Q2"_s, u"2020-06-01"_s, u"X7"_s, u"Bosch"_s, u"F.100"_s, 99.0); // Q2 has it as written too
    item(u"Q6"_s, u"2020-06-09"_s, u"X1"_s, u"NGK"_s, u"F-100"_s, 50.0); // another brand
    LastPrices prices(store.dm.Banco());
    QStringList points;
    for (const LastPrice &p : prices.history(u"bosch"_s, u"F-100"_s))
        points << PriceEntry::pointText(p);
    EXPECT_EQ(points,
        (QStringList { u"Cotação : Q1 de 01/05/2020 - 10,00"_s, u"Cotação : Q2 de 01/06/2020 - 12,00"_s,
            u"Cotação : Q5 de 08/06/2020 - 20,00 (código escrito de outro modo)"_s }));
    EXPECT_TRUE(prices.history(u"NGK"_s, QString()).isEmpty());
}

TEST_F(LastPriceTest, HistoryWindowOpensWithF5OrItsButtonAndTheKeysWalkThePoints)
{
    TPrecoCota window(prompts, store.dm);
    QList<PriceHistory> opened;
    window.setHistoryRunner([&](const PriceHistory &h) { opened << h; });
    showWithQuotation(window, u"ATUAL"_s);
    QTableView *grid = window.dbgrd1();
    EXPECT_FALSE(window.btnHistorico()->autoDefault());
    QTest::keyClick(grid, Qt::Key_Down); // P1
    QTest::keyClick(grid, Qt::Key_F5);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid, Qt::Key_Down); // P3, P4, P5: another brand never priced
    QTest::mouseClick(window.btnHistorico(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].points.size(), 2);
    EXPECT_EQ(opened[1].prodfabr, u"F-100"_s);
    EXPECT_TRUE(opened[1].points.isEmpty());

    TPrecoHistorico history(opened[0]);
    history.show();
    QApplication::setActiveWindow(&history);
    PriceHistoryChart *chart = history.chart();
    ASSERT_TRUE(chart->hasFocus());
    const QString q1 = u"Cotação : Q1 de 01/05/2020 - 10,00"_s;
    const QString q2 = u"Cotação : Q2 de 01/06/2020 - 12,00"_s;
    // The newest point first; the keys and the tool tip name the same points.
    EXPECT_EQ(history.lblPonto()->text(), q2);
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_EQ(history.lblPonto()->text(), q1);
    QTest::keyClick(chart, Qt::Key_Left); // stays on the first
    EXPECT_EQ(chart->currentPoint(), 0);
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_EQ(history.lblPonto()->text(), q2);
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_EQ(chart->accessibleDescription(), q1);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(chart->pointAt(chart->pointCentre(i).toPoint()), i);
    EXPECT_EQ(chart->pointAt(QPoint(1, 1)), -1);
    // The older price is drawn lower: 10 under 12.
    EXPECT_GT(chart->pointCentre(0).y(), chart->pointCentre(1).y());
    EXPECT_FALSE(history.btnFechar()->autoDefault());
    // Tab goes to "Fechar", Enter presses it.
    QTest::keyClick(chart, Qt::Key_Tab);
    ASSERT_TRUE(history.btnFechar()->hasFocus());
    QTest::keyClick(history.btnFechar(), Qt::Key_Return);
    EXPECT_FALSE(history.isVisible());

    TPrecoHistorico empty(opened[1]);
    EXPECT_EQ(empty.lblPonto()->text(), u"Nenhum preço anterior para este item."_s);
    EXPECT_EQ(empty.chart()->currentPoint(), -1);
    QTest::keyClick(empty.chart(), Qt::Key_Right);
    EXPECT_EQ(empty.chart()->currentPoint(), -1);
}
