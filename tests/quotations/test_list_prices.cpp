#include "common/clock.h"
#include "price_window_fixture.h"
#include "quotations/price_entry.h"
#include "quotations/widgets/item_panels.h"
#include "quotations/widgets/price_entry_window.h"
#include "store/price_list_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The quotation ATUAL, priced against the list a real spreadsheet program
// saved (tests/fixtures/generators/tabela_precos_fonte.csv): BOSCH
// 0986B00020 PC 42,90; Bosch "0 986 494 " JG 189,50; NGK BKR6E-11 PC
// 18,75; Gates 5419XS PC 97; Cofap GP-32.170/A PC 310.
class ListPriceTest : public ::testing::Test {
protected:
    ListPriceTest()
    {
        Clock::setCurrent(&clock);
        store.exec(u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus) VALUES ('ATUAL', 'Baixada')"_s);
        // By brand: P1, P2, P5, P6, P3, P4.
        item(u"P1"_s, u"BOSCH"_s, u"0986B00020"_s, u"PC"_s); // the same code
        item(u"P2"_s, u"BOSCH"_s, u"0986-494"_s, u"jg"_s); // written another way
        item(u"P3"_s, u"NGK"_s, u"BKR6E11"_s, u"CX"_s); // another unit
        item(u"P4"_s, u"NGK"_s, u"XX-1"_s, u"PC"_s); // not in the list
        item(u"P5"_s, u"Cofap"_s, u"gp 32170 a"_s, u"pç"_s, 5.0); // priced already
        item(u"P6"_s, u"Gates"_s, u"5419 XS"_s, QString()); // no unit: not filled
    }
    ~ListPriceTest() override { Clock::setCurrent(nullptr); }

    void item(const QString &produto, const QString &marca, const QString &prodfabr, const QString &un,
        const QVariant &valor = {})
    {
        store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, UN, VALOR) "
                   "VALUES ('ACME', 'ATUAL', '2020-06-10', ?, ?, ?, ?, ?)"_s,
            { produto, marca, prodfabr, un.isNull() ? QVariant() : QVariant(un), valor });
    }

    void importList()
    {
        prompts.files.push_back(fixturePath(u"tabela_precos_libreoffice.xlsx"_s));
        PriceEntry flow(prompts, store.dm);
        ASSERT_TRUE(flow.importPriceList());
        prompts.clear();
    }

    QStringList prices()
    {
        return store.rows(u"SELECT PRODUTO, VALOR FROM CotacaoFornc WHERE COTACAO = 'ATUAL' ORDER BY 1"_s);
    }

    static void choose(PriceEntry &flow)
    {
        flow.start();
        ASSERT_TRUE(flow.chooseQuotation(
            [](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, { u"ATUAL"_s }); }));
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(14, 30, 0)) };
    TestStore store;
    ScriptedPrompts prompts;
};

const QStringList Unpriced { u"P1|~"_s, u"P2|~"_s, u"P3|~"_s, u"P4|~"_s, u"P5|5.0"_s, u"P6|~"_s };

} // namespace

TEST_F(ListPriceTest, ThePanelSaysThePriceHowTheCodeMatchedOrWhyTheItemDoesNotTakeIt)
{
    PriceEntry flow(prompts, store.dm);
    choose(flow);
    // Without a list the panel says nothing, and the fill says what to do.
    EXPECT_EQ(flow.currentListPriceText(), QString());
    EXPECT_FALSE(flow.fillPrices(PriceSource::PriceList));
    EXPECT_EQ(prompts.boxes(), QStringList { u"[Atenção] "_s + PriceEntry::noListText() });
    importList();

    struct Case {
        QString produto;
        QString text;
    };
    const Case cases[] = {
        { u"P1"_s, u"Tabela (F4) : 42,90 - mesmo código"_s },
        { u"P2"_s, u"Tabela (F4) : 189,50 - código escrito de outro modo: 0 986 494"_s },
        { u"P3"_s, u"Tabela : 18,75 por PC, o item vem em CX: não é preenchido."_s },
        { u"P4"_s, u"Item fora da tabela de preços."_s },
        { u"P5"_s, u"Tabela (F4) : 310,00 - código escrito de outro modo: GP-32.170/A"_s }, // "pç" is PC
        { u"P6"_s, u"Tabela : 97,00 por PC, o item vem em (sem unidade): não é preenchido."_s },
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(flow.selectItem(c.produto));
        EXPECT_EQ(flow.currentListPriceText(), c.text) << c.produto.toStdString();
        // F4 takes the price only where the panel offers it.
        flow.copyListPrice();
    }
    EXPECT_EQ(prices(),
        (QStringList { u"P1|42.9"_s, u"P2|189.5"_s, u"P3|~"_s, u"P4|~"_s, u"P5|310.0"_s, u"P6|~"_s }));
    EXPECT_TRUE(prompts.boxes().isEmpty());
    // A list that holds the part written two other ways at two prices does
    // not say which is meant: the panel says so rather than "not in the list".
    replacePriceList(store.dm.Banco(), { u"dupla.csv"_s, clock.now(), 2 },
        { { 2, u"NGK"_s, u"XX.1"_s, QString(), u"PC"_s, 10.0 },
            { 3, u"NGK"_s, u"XX 1"_s, QString(), u"PC"_s, 12.0 } });
    ASSERT_TRUE(flow.selectItem(u"P4"_s));
    EXPECT_EQ(flow.currentListPriceText(),
        u"Tabela : código repetido com preço ou unidade diferente: não é preenchido."_s);
    EXPECT_FALSE(flow.copyListPrice());
    EXPECT_EQ(prices().at(3), u"P4|~"_s);
    // The last price, beside it, says so too when it found the code written another way.
    store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, VALOR) "
               "VALUES ('ACME', 'ANTIGA', '2020-05-02', 'X', 'BOSCH', '0986.b00.020', 40)"_s);
    ASSERT_TRUE(flow.selectItem(u"P1"_s));
    EXPECT_EQ(flow.currentLastPriceText(),
        u"Último preço (F3) : 40,00 - Cotação : ANTIGA de 02/05/2020 (código escrito de outro modo)"_s);
}

TEST_F(ListPriceTest, FillingEveryItemWithoutAPriceAsksWithTheCountsFirstAndWritesOnlyOnYes)
{
    importList();
    PriceEntry flow(prompts, store.dm);
    choose(flow);
    const QString question = u"[Atenção] Serão preenchidos com o preço da tabela 2 itens sem preço. 2 itens "
                             "da tabela com outra unidade não serão preenchidos. Confirma???"_s;
    EXPECT_FALSE(flow.fillPrices(PriceSource::PriceList)); // No
    EXPECT_EQ(prompts.boxes(), QStringList { question });
    EXPECT_EQ(prices(), Unpriced);

    prompts.clear();
    prompts.answers = { true };
    ASSERT_TRUE(flow.selectItem(u"P4"_s));
    EXPECT_TRUE(flow.fillPrices(PriceSource::PriceList));
    EXPECT_EQ(prompts.boxes(), QStringList { question });
    // P5 keeps the price it had; the current item stays where it was.
    EXPECT_EQ(prices(),
        (QStringList { u"P1|42.9"_s, u"P2|189.5"_s, u"P3|~"_s, u"P4|~"_s, u"P5|5.0"_s, u"P6|~"_s }));
    EXPECT_EQ(store.dm.CotaFornec().current()->produto, u"P4"_s);
    EXPECT_FALSE(store.dm.CotaFornec().current()->valor.has_value());

    // Nothing left to fill: said so, with the items of another unit.
    prompts.clear();
    EXPECT_FALSE(flow.fillPrices(PriceSource::PriceList));
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Nenhum item sem preço está na tabela de preços. 2 itens da tabela com "
                      "outra unidade não serão preenchidos."_s });
}

TEST_F(ListPriceTest, TheWindowImportsTheListShowsItUnderTheGridAndFillsByKeyAndButton)
{
    TPrecoCota window(prompts, store.dm);
    showWithQuotation(window, u"ATUAL"_s);
    ItemPanels *panels = window.DBCtrlGrid1();
    QTableView *grid = window.dbgrd1();
    ASSERT_EQ(store.dm.CotaFornec().current()->produto, u"P1"_s);
    EXPECT_EQ(panels->listNoteText(0), QString());
    // F4 without a list says so in the panel.
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_EQ(panels->listNoteText(0), PriceEntry::noListText());

    for (QPushButton *b : { window.btnTabela(), window.btnPrecosTabela() }) {
        EXPECT_FALSE(b->autoDefault()) << b->text().toStdString();
        EXPECT_FALSE(b->isDefault()) << b->text().toStdString();
    }
    // Tab reaches the list's buttons after "Últimos preços", then "Histórico" and "Saída".
    window.btn7()->setFocus();
    QTest::keyClick(window.btn7(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btnTabela());
    QTest::keyClick(window.btnTabela(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btnPrecosTabela());
    QTest::keyClick(window.btnPrecosTabela(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btnHistorico());
    QTest::keyClick(window.btnHistorico(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btn1());

    // "Tabela de preços" with Space, as from the keyboard alone.
    prompts.files.push_back(fixturePath(u"tabela_precos_libreoffice.xlsx"_s));
    window.btnTabela()->setFocus();
    QTest::keyClick(window.btnTabela(), Qt::Key_Space);
    EXPECT_EQ(prompts.boxes(),
        QStringList {
            u"[Atenção] Tabela de preços importada de \"tabela_precos_libreoffice.xlsx\": 5 itens."_s });
    EXPECT_EQ(panels->listNoteText(0), u"Tabela (F4) : 42,90 - mesmo código"_s);

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_EQ(grid->model()->index(0, 5).data().toString(), u"42,90"_s);
    QTest::keyClick(grid, Qt::Key_Down); // P2
    QTest::keyClick(grid, Qt::Key_Down); // P5
    QTest::keyClick(grid, Qt::Key_Down); // P6: no unit
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_EQ(grid->model()->index(3, 5).data().toString(), QString());
    EXPECT_EQ(
        panels->listNoteText(0), u"Tabela : 97,00 por PC, o item vem em (sem unidade): não é preenchido."_s);

    prompts.clear();
    prompts.answers = { true };
    QTest::mouseClick(window.btnPrecosTabela(), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[Atenção] Será preenchido com o preço da tabela 1 item sem preço. 2 itens da "
                      "tabela com outra unidade não serão preenchidos. Confirma???"_s });
    EXPECT_EQ(grid->model()->index(1, 5).data().toString(), u"189,50"_s);
    EXPECT_EQ(prices(),
        (QStringList { u"P1|42.9"_s, u"P2|189.5"_s, u"P3|~"_s, u"P4|~"_s, u"P5|5.0"_s, u"P6|~"_s }));
}

TEST_F(ListPriceTest, CommandLineFillsFromTheListAsTheButtonDoes)
{
    store.folder.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    const CliRun none = runCliIn(store.folder, { u"--yes"_s, u"quotations"_s, u"fill-list"_s, u"ATUAL"_s });
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QStringList { u"[Atenção] "_s + PriceEntry::noListText() });
    importList();

    const CliRun declined = runCliIn(store.folder, { u"quotations"_s, u"fill-list"_s, u"ATUAL"_s });
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(prices(), Unpriced);
    const CliRun filled = runCliIn(store.folder, { u"--yes"_s, u"quotations"_s, u"fill-list"_s, u"ATUAL"_s });
    EXPECT_EQ(filled.status, 0);
    EXPECT_EQ(filled.out,
        QStringList { u"[Atenção] Serão preenchidos com o preço da tabela 2 itens sem preço. 2 itens da "
                      "tabela com outra unidade não serão preenchidos. Confirma???"_s });
    EXPECT_EQ(prices(),
        (QStringList { u"P1|42.9"_s, u"P2|189.5"_s, u"P3|~"_s, u"P4|~"_s, u"P5|5.0"_s, u"P6|~"_s }));
}
