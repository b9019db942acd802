#include "common/clock.h"
#include "quotations/quotation_report.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/store_test.h"

namespace {

const QString Headings = u"Marca | Produto | Similar | Descrição do produto | Un | Qtde | Valor"_s;

} // namespace

// The items of one quotation shown as the price entry shows them: the table
// filtered to the chosen quotation.
class QuotationReport : public StoreTest {
protected:
    QuotationReport() { Clock::setCurrent(&clock); }
    ~QuotationReport() override { Clock::setCurrent(nullptr); }

    void add(const QString &produto, const QString &marca, const QString &descricao, const QVariant &valor,
        const QVariant &qtde = 2.0)
    {
        Statement st(dm.Banco(),
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, SIMILARES, "
            "DESCRICAO, UN, MARCA, QTDE, VALOR) VALUES ('ACME', '123', '2020-06-26', ?, ?, "
            "'', ?, 'PC', ?, ?, ?)"_s);
        st.bindAll({ produto, u"PF-"_s + produto, descricao, marca, qtde, valor });
        st.step();
        dm.Banco().announceRowsWritten(u"CotacaoFornc"_s, { dm.Banco().lastInsertId() });
    }

    void show(const QString &cotacao) { dm.showQuotationItems(cotacao); }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(9, 5, 0)) };
};

TEST_F(QuotationReport, ItemsInBrandOrderWithTwoDecimalsAndEmptyPriceAsZero)
{
    add(u"1"_s, u"VALEO"_s, u"Amortecedor"_s, 1234.5);
    add(u"2"_s, u"BOSCH"_s, u"Vela"_s, QVariant(), 1.5);
    add(u"3"_s, u"COFAP"_s, u"Bomba"_s, 0.1);
    show(u"123"_s);

    const PreparedReport r = prepareQuotationReport(dm);

    EXPECT_EQ(r.title, u"Cotação Kelvo AutoPeças"_s);
    EXPECT_EQ(r.fileName, u"Cotação 123"_s); // what a save proposes
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(pageLines(r.pages[0]),
        QStringList({
            u"Relatorio para Cotação - KELVO AutoPeças"_s,
            u"Impresso em :26/06/2020 09:05:00"_s,
            u"Cotação : | 123"_s,
            Headings,
            u"BOSCH | PF-2 |  | Vela | PC | 1,50 | 0,00"_s,
            u"COFAP | PF-3 |  | Bomba | PC | 2,00 | 0,10"_s,
            u"VALEO | PF-1 |  | Amortecedor | PC | 2,00 | 1234,50"_s,
            u"Página : 1"_s,
        }));
    // The heading is laid out as designed: the title centred on the band,
    // the time against its right edge.
    const PreparedText *title = findText(r.pages[0], u"Relatorio para Cotação - KELVO AutoPeças"_s);
    ASSERT_TRUE(title);
    EXPECT_NEAR(title->box.center().x(), 19 + 378, 0.5);
    EXPECT_NEAR(findText(r.pages[0], u"Impresso em :26/06/2020 09:05:00"_s)->box.right(), 19 + 756, 0.01);
}

TEST(QuotationPrintout, EveryPageRepeatsTheHeadingAndLongDescriptionsAreCut)
{
    const QString longText
        = u"Jogo de juntas do motor completo com retentores e anéis de vedação para linha pesada"_s;
    std::vector<ItemPrintLine> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back({ .cotacao = u"123"_s,
            .marca = u"BOSCH"_s,
            .prodfabr = u"PF-%1"_s.arg(i),
            .descricao = i == 0 ? longText : u"Vela"_s,
            .un = u"PC"_s,
            .qtde = 2.0,
            .valor = 1.0 });

    const PreparedReport r = quotationReport(lines).take();

    ASSERT_EQ(r.pages.size(), 2u); // (1123 - 26 - 26 - 68 - 24) / 20 = 48 lines a page
    for (const PreparedPage &page : r.pages) {
        const QStringList lines = pageLines(page);
        EXPECT_EQ(lines.mid(2, 2), QStringList({ u"Cotação : | 123"_s, Headings }));
        EXPECT_EQ(lines.last(), u"Página : "_s + QString::number(page.number));
    }
    EXPECT_EQ(pageLines(r.pages[0]).filter(u"BOSCH"_s).size(), 48);
    const PreparedLine &first = r.pages[0].lines[4];
    const PreparedText &descricao = first.items[3];
    EXPECT_TRUE(descricao.cut);
    EXPECT_TRUE(longText.startsWith(descricao.text));
    EXPECT_LT(descricao.text.size(), longText.size());
    EXPECT_DOUBLE_EQ(descricao.box.height(), 18);
    EXPECT_DOUBLE_EQ(r.pages[0].lines[5].items[0].box.top() - first.items[0].box.top(), 20);
}

TEST_F(QuotationReport, NoQuotationChosenPrintsTheHeadingAlone)
{
    add(u"1"_s, u"BOSCH"_s, u"Vela"_s, 1.0);
    const QStringList alone { u"Relatorio para Cotação - KELVO AutoPeças"_s,
        u"Impresso em :26/06/2020 09:05:00"_s, u"Cotação : | "_s, Headings, u"Página : 1"_s };
    show(u"0"_s);
    const PreparedReport r = prepareQuotationReport(dm);
    EXPECT_TRUE(r.fileName.isEmpty()); // a save proposes the title
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(pageLines(r.pages[0]), alone);

    dm.CotaFornec().close(); // closed items show nothing
    EXPECT_EQ(pageLines(prepareQuotationReport(dm).pages[0]), alone);
}
