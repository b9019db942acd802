#include "common/clock.h"
#include "quotation_fixture.h"
#include "quotations/price_entry.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/scripted_prompts.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PriceEntryTest : public ::testing::Test {
protected:
    PriceEntryTest()
        : flow(prompts, store.dm)
    {
    }

    // "Filtra e Sai" on the quotation with that number, or "Desiste" when empty.
    bool choose(const QString &cotacao)
    {
        return flow.chooseQuotation([&](ReleasedQuotationSet &baixadas) {
            return cotacao.isEmpty() ? false : (locateCotacao(baixadas, cotacao) || true);
        });
    }

    QStringList shown()
    {
        QStringList out;
        for (const QuotationItemRow &item : store.dm.CotaFornec().rows())
            out << item.produto;
        return out;
    }

    TestStore store;
    ScriptedPrompts prompts;
    PriceEntry flow;
};

} // namespace

TEST_F(PriceEntryTest, OpensEmptyAndChoosesAQuotation)
{
    store.addQuotation(u"C'1"_s, u"Baixada"_s);
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    store.addQuotation(u"C3"_s, u"Enviar"_s);
    store.addItem({ u"C'1"_s, u"P2"_s, u"NGK"_s });
    store.addItem({ u"C'1"_s, u"P1"_s, u"BOSCH"_s });
    store.addItem({ u"C2"_s, u"P9"_s, u"ACME"_s });
    store.addItem({ u"C3"_s, u"P8"_s, u"ACME"_s });
    store.dm.setPodeIcota(true);

    flow.start();
    EXPECT_FALSE(store.dm.podeIcota());
    EXPECT_EQ(flow.chosenQuotation(), u"0"_s);
    EXPECT_TRUE(shown().isEmpty());

    // The chooser offers the "Baixada" quotations only.
    QStringList offered;
    flow.chooseQuotation([&](ReleasedQuotationSet &baixadas) {
        for (const ReleasedQuotationRow &row : baixadas.rows())
            offered << row.cotacao;
        return false;
    });
    offered.sort();
    EXPECT_EQ(offered, (QStringList { u"C'1"_s, u"C2"_s }));

    EXPECT_TRUE(choose(u"C'1"_s));
    EXPECT_EQ(flow.chosenQuotation(), u"C'1"_s);
    EXPECT_EQ(shown(), (QStringList { u"P1"_s, u"P2"_s })); // by brand

    EXPECT_FALSE(choose(QString()));
    EXPECT_EQ(flow.chosenQuotation(), u"C'1"_s);
    EXPECT_EQ(shown(), (QStringList { u"P1"_s, u"P2"_s }));

    // No row can be added to the items while the window is open.
    EXPECT_FALSE(store.dm.podeIcota());
    EXPECT_EQ(store.dm.CotaFornec().rowCount(), 2);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(PriceEntryTest, FiltraESaiWithoutDownloadedQuotationsShowsNone)
{
    store.addQuotation(u"C1"_s, u"ABERTA"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"X"_s });
    flow.start();
    EXPECT_TRUE(choose(u"C1"_s));
    EXPECT_EQ(flow.chosenQuotation(), u"0"_s);
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(PriceEntryTest, ReadyToSendCountsPricesAndMarksTheQuotation)
{
    store.addQuotation(u"C'1"_s, u"Baixada"_s);
    const QVariant prices[] = { 12.5, QVariant(), 0.0, -1.0, 3.0 };
    for (int i = 0; i < 5; ++i)
        store.addItem({ u"C'1"_s, u"P%1"_s.arg(i), u"M%1"_s.arg(i), 1.0, prices[i] });
    flow.start();
    EXPECT_FALSE(flow.markReady()); // nothing chosen
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(flow.pricedCountText(), QString());

    ASSERT_TRUE(choose(u"C'1"_s));
    // The window's count and the question's agree.
    EXPECT_EQ(flow.pricedCountText(), u"3 de 5 itens com preço"_s);
    const QString question
        = u"[Atenção] Você colocou preços em : 3 produtos, e deixou sem preços : 2, tornando "
          "pronta para envio, não vai poder mais fazer alterações. Ok???"_s;
    EXPECT_FALSE(flow.markReady());
    EXPECT_EQ(prompts.transcript(), QStringList { question });
    EXPECT_EQ(store.status(u"C'1"_s), u"Baixada"_s);
    EXPECT_EQ(shown().size(), 5);

    prompts.clear();
    prompts.answers = { true };
    EXPECT_TRUE(flow.markReady());
    EXPECT_EQ(prompts.transcript(), QStringList { question });
    EXPECT_EQ(store.status(u"C'1"_s), u"Enviar"_s);
    EXPECT_EQ(flow.chosenQuotation(), u"0"_s);
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(flow.pricedCountText(), QString());
    EXPECT_EQ(
        store.rows(u"SELECT VALOR FROM CotacaoFornc WHERE PRODUTO = 'P0'"_s), QStringList { u"12.5"_s });
    flow.chooseQuotation([](ReleasedQuotationSet &baixadas) {
        EXPECT_TRUE(baixadas.isEmpty());
        return false;
    });
}

TEST_F(PriceEntryTest, ObservationPriceAndDelete)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"A"_s });
    store.addItem({ u"C1"_s, u"P2"_s, u"B"_s });
    flow.start();
    EXPECT_FALSE(flow.editObservation()); // an empty grid asks nothing
    EXPECT_TRUE(prompts.shown.isEmpty());
    ASSERT_TRUE(choose(u"C1"_s));

    const QString obs = u"SELECT OBS FROM CotacaoFornc WHERE PRODUTO = 'P1'"_s;
    prompts.inputs = { u"entrega em 2 dias"_s };
    EXPECT_TRUE(flow.editObservation());
    EXPECT_EQ(prompts.transcript(), QStringList { u"[Digite] A sua observação :"_s });
    EXPECT_EQ(store.rows(obs), QStringList { u"entrega em 2 dias"_s });
    EXPECT_TRUE(flow.editObservation()); // cancelled: empty text
    EXPECT_EQ(store.rows(obs), QStringList { u"~"_s });

    const QString valor = u"SELECT VALOR, SIMILARES FROM CotacaoFornc WHERE PRODUTO = 'P2'"_s;
    EXPECT_TRUE(flow.setPrice(u"p2"_s, u"1234,5"_s, u"SIM 9"_s));
    EXPECT_EQ(store.rows(valor), QStringList { u"1234.5|SIM 9"_s });
    prompts.clear();
    for (const QString &bad : { u"abc"_s, u"12.5"_s }) {
        EXPECT_FALSE(flow.setPrice(u"P2"_s, bad, std::nullopt));
        EXPECT_EQ(prompts.boxes().last(), u"[CotaKelvo] '"_s + bad + u"' não é um número válido."_s);
    }
    EXPECT_EQ(store.rows(valor), QStringList { u"1234.5|SIM 9"_s });
    EXPECT_TRUE(flow.setPrice(u"P2"_s, QString(), std::nullopt));
    EXPECT_EQ(store.rows(valor), QStringList { u"~|SIM 9"_s });
    EXPECT_FALSE(flow.setPrice(u"P7"_s, u"1"_s, std::nullopt));
    EXPECT_EQ(prompts.boxes().last(), u"[Erro] O produto : P7 não está na cotação : C1"_s);

    prompts.clear();
    ASSERT_TRUE(flow.selectItem(u"P1"_s));
    EXPECT_FALSE(flow.deleteItem());
    EXPECT_EQ(prompts.transcript(), QStringList { u"[Atenção] Apagar o item selecionado da cotação?"_s });
    prompts.answers = { true };
    EXPECT_TRUE(flow.deleteItem());
    EXPECT_EQ(shown(), QStringList { u"P2"_s });
    EXPECT_EQ(store.rows(u"SELECT PRODUTO FROM CotacaoFornc"_s), QStringList { u"P2"_s });
}

// A grid cell is stored at once by the item's rowid: a bad price or an
// unchanged value writes nothing, and the row shown follows what is stored.
TEST_F(PriceEntryTest, AGridCellIsStoredAtOnceOnlyWhenItChanges)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"A"_s });
    store.addItem({ u"C1"_s, u"P2"_s, u"B"_s });
    flow.start();
    ASSERT_TRUE(choose(u"C1"_s));
    const QString stored = u"SELECT VALOR, SIMILARES FROM CotacaoFornc ORDER BY PRODUTO"_s;

    flow.storeItemColumn(1, CotacaoForncColumn::VALOR, u"1234,5"_s);
    flow.storeItemColumn(1, CotacaoForncColumn::SIMILARES, u"SIM 1"_s);
    EXPECT_EQ(store.rows(stored), (QStringList { u"~|~"_s, u"1234.5|SIM 1"_s }));
    EXPECT_EQ(store.dm.CotaFornec().at(1).valor, 1234.5);
    EXPECT_EQ(store.dm.CotaFornec().at(1).similares, u"SIM 1"_s);

    EXPECT_THROW(flow.storeItemColumn(1, CotacaoForncColumn::VALOR, u"abc"_s), StoreError);
    EXPECT_THROW(flow.storeItemColumn(1, CotacaoForncColumn::MARCA, u"X"_s), StoreError);
    EXPECT_EQ(store.rows(stored), (QStringList { u"~|~"_s, u"1234.5|SIM 1"_s }));

    // The same value again is no write: a change made past the set stays.
    Statement behind(store.dm.Banco(), u"UPDATE CotacaoFornc SET VALOR = 9 WHERE PRODUTO = 'P2'"_s);
    behind.step(); // past the sets, unannounced
    flow.storeItemColumn(1, CotacaoForncColumn::VALOR, u"1234,5"_s);
    EXPECT_EQ(store.rows(stored), (QStringList { u"~|~"_s, u"9.0|SIM 1"_s }));
    flow.storeItemColumn(0, CotacaoForncColumn::VALOR, QString());
    EXPECT_EQ(store.rows(stored).first(), u"~|~"_s);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// An item deleted since the grid read it is not written as if it were
// there: the supplier is told, and the grid drops the row.
TEST_F(PriceEntryTest, AnItemDeletedBehindTheGridIsReportedNotWritten)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"A"_s });
    store.addItem({ u"C1"_s, u"P2"_s, u"B"_s });
    flow.start();
    ASSERT_TRUE(choose(u"C1"_s));
    Statement behind(store.dm.Banco(), u"DELETE FROM CotacaoFornc WHERE PRODUTO = 'P1'"_s);
    behind.step(); // past the row sets, unannounced

    EXPECT_FALSE(flow.setPrice(u"P1"_s, u"10"_s, std::nullopt));
    EXPECT_EQ(prompts.boxes(),
        QStringList { u"[CotaKelvo] CotaFornec: O registro foi apagado por outra operação."_s });
    EXPECT_EQ(shown(), QStringList { u"P2"_s });
    EXPECT_EQ(store.dm.CotaFornec().current()->produto, u"P2");
    EXPECT_EQ(store.count(u"CotacaoFornc"_s), 1);
}

// A cell typed in the grid is stored at once: the printout has it.
TEST_F(PriceEntryTest, ThePrintoutTakesThePriceTypedInTheGrid)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"A"_s });
    flow.start();
    ASSERT_TRUE(choose(u"C1"_s));
    flow.storeItemColumn(0, CotacaoForncColumn::VALOR, u"7,5"_s);
    EXPECT_EQ(store.dm.CotaFornec().at(0).valor, 7.5);

    std::optional<ReportPreparation> preparation = flow.preparePrintout();
    ASSERT_TRUE(preparation);
    const PreparedReport &report = preparation->complete();
    EXPECT_EQ(store.rows(u"SELECT VALOR FROM CotacaoFornc"_s), QStringList { u"7.5"_s });
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(pageLines(report.pages[0]).filter(u"7,50"_s).size(), 1);

    EXPECT_TRUE(flow.printQuotation());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"preview"_s);
}

TEST_F(PriceEntryTest, FindsAnItemByBrandMakersCodeOrDescriptionRoundFromTheTop)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    const char16_t *items[][4] = {
        { u"P1", u"BOSCH", u"0986B00020", u"FILTRO DE ÓLEO" },
        { u"P2", u"COFAP", u"GB27065", u"AMORTECEDOR TRASEIRO" },
        { u"P3", u"NGK", u"BKR6E", u"VELA DE IGNIÇÃO" },
        { u"P4", u"SKF", u"VKMA 01250", u"CABO DE VELA" },
    };
    for (const auto &i : items)
        store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, DESCRICAO) "
                   "VALUES ('ACME', 'C1', '2020-06-01', ?, ?, ?, ?)"_s,
            { QString::fromUtf16(i[0]), QString::fromUtf16(i[1]), QString::fromUtf16(i[2]),
                QString::fromUtf16(i[3]) });
    store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, DESCRICAO) "
               "VALUES ('ACME', 'C2', '2020-06-01', 'P9', 'ÓLEO', 'OLEO')"_s); // another quotation
    flow.start();
    EXPECT_EQ(flow.findItem(u"vela"_s, 0), -1); // nothing chosen
    ASSERT_TRUE(choose(u"C1"_s));
    ASSERT_EQ(shown(), (QStringList { u"P1"_s, u"P2"_s, u"P3"_s, u"P4"_s }));

    const struct {
        const char16_t *text;
        int from;
        const char16_t *found; // nullptr: none
    } cases[] = {
        { u"oleo", 0, u"P1" }, // accents and letter case ignored
        { u"Ignição", 0, u"P3" },
        { u"gb27", 0, u"P2" }, // the maker's code
        { u"ngk", 0, u"P3" }, // the brand
        { u"vela", 0, u"P3" }, // the first from the current item on
        { u"vela", 3, u"P4" },
        { u"vela", 4, u"P3" }, // past the last: round from the top
        { u"bosch", 2, u"P1" },
        { u"  vkma 0125 ", 0, u"P4" },
        { u"xyz", 0, nullptr },
        { u"   ", 0, nullptr },
    };
    for (const auto &c : cases) {
        const int row = flow.findItem(QString::fromUtf16(c.text), c.from);
        EXPECT_EQ(row < 0 ? QString() : shown().value(row), c.found ? QString::fromUtf16(c.found) : QString())
            << QString::fromUtf16(c.text).toStdString() << " from " << c.from;
    }
}

TEST_F(PriceEntryTest, WarnsWhenTheChosenQuotationIsPastItsDeadline)
{
    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(14, 30)) };
    Clock::setCurrent(&clock);
    const auto restore = qScopeGuard([] { Clock::setCurrent(nullptr); });
    store.addQuotation(u"C1"_s, u"Baixada"_s); // due 05/06/2020 at 14:30
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    store.exec(u"UPDATE CotaLiberadas SET AteHora = NULL WHERE Cotacao = 'C2'"_s); // to the end of the day
    store.addQuotation(u"C3"_s, u"Baixada"_s);
    store.exec(u"UPDATE CotaLiberadas SET DataValidade = NULL WHERE Cotacao = 'C3'"_s);
    flow.start();
    EXPECT_FALSE(flow.warnPastDeadline()); // nothing chosen

    const QString after = u" Os preços podem ser digitados, mas o Kelvo vai recusar o envio desta cotação."_s;
    const struct {
        QString cotacao;
        QDateTime now;
        QString warning;
    } cases[] = {
        { u"C1"_s, QDateTime(QDate(2020, 6, 5), QTime(14, 30)), QString() }, // the deadline itself
        { u"C1"_s, QDateTime(QDate(2020, 6, 5), QTime(14, 31)),
            u"[Atenção] O prazo para responder a cotação : C1 venceu em 05/06/2020 às 14:30."_s + after },
        { u"C2"_s, QDateTime(QDate(2020, 6, 5), QTime(23, 59)), QString() },
        { u"C2"_s, QDateTime(QDate(2020, 6, 6), QTime(0, 1)),
            u"[Atenção] O prazo para responder a cotação : C2 venceu em 05/06/2020."_s + after },
        { u"C3"_s, QDateTime(QDate(2030, 1, 1), QTime(0, 0)), QString() }, // no deadline
    };
    for (const auto &c : cases) {
        clock.set(c.now);
        prompts.clear();
        ASSERT_TRUE(choose(c.cotacao));
        EXPECT_EQ(flow.warnPastDeadline(), !c.warning.isEmpty()) << c.cotacao.toStdString();
        EXPECT_EQ(prompts.transcript(), c.warning.isEmpty() ? QStringList() : QStringList { c.warning });
    }
}
