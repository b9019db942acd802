#include "quotation_fixture.h"
#include "quotations/price_entry.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/scripted_prompts.h"

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
        return flow.chooseQuotation([&](Query &baixadas) {
            return cotacao.isEmpty() ? false : (baixadas.locate(u"Cotacao"_s, { cotacao }) || true);
        });
    }

    QStringList shown()
    {
        QStringList out;
        Table &t = store.dm.CotaFornec();
        for (int r = 0; r < t.rowCount(); ++r)
            out << t.value(r, t.fieldIndex(u"PRODUTO"_s)).toString();
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
    flow.chooseQuotation([&](Query &baixadas) {
        for (int r = 0; r < baixadas.rowCount(); ++r)
            offered << baixadas.value(r, 0).toString();
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

    // The grid cannot add a row while the window is open.
    EXPECT_FALSE(store.dm.CotaFornec().append());
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

    ASSERT_TRUE(choose(u"C'1"_s));
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
    EXPECT_EQ(
        store.rows(u"SELECT VALOR FROM CotacaoFornc WHERE PRODUTO = 'P0'"_s), QStringList { u"12.5"_s });
    flow.chooseQuotation([](Query &baixadas) {
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
    EXPECT_FALSE(store.dm.CotaFornec().isEditing());
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

TEST_F(PriceEntryTest, ThePrintoutTakesThePriceStillInEdit)
{
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addItem({ u"C1"_s, u"P1"_s, u"A"_s });
    flow.start();
    ASSERT_TRUE(choose(u"C1"_s));
    Table &items = store.dm.CotaFornec();
    items.edit();
    items.setValue(u"VALOR"_s, 7.5);

    const std::optional<PreparedReport> report = flow.preparePrintout();
    ASSERT_TRUE(report);
    EXPECT_FALSE(items.isEditing());
    EXPECT_EQ(store.rows(u"SELECT VALOR FROM CotacaoFornc"_s), QStringList { u"7.5"_s });
    ASSERT_EQ(report->pages.size(), 1u);
    EXPECT_EQ(pageLines(report->pages[0]).filter(u"7,50"_s).size(), 1);

    EXPECT_TRUE(flow.printQuotation());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"preview"_s);
}
