#include "report/report_error.h"
#include "report/report_fonts.h"
#include "report/report_preparation.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"

#include <QFontMetricsF>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A small page that holds seven detail lines: 200 high, margins 10, header
// and footer 20 each, so 140 between them.
ReportLayout smallLayout()
{
    ReportLayout r;
    r.title = u"Teste"_s;
    r.pageSize = QSize(300, 200);
    r.margins = QMargins(10, 10, 10, 10);
    r.pageHeader = ReportBand(20);
    r.pageHeader.add(label(u"H"_s, { 0, 0, 20, 20 }));
    r.pageHeader.add(dataText(u"PRODUTO"_s, { 30, 0, 60, 20 })); // the first row of the page
    r.detail = ReportBand(20);
    r.detail.add(dataText(u"PRODUTO"_s, { 0, 0, 60, 20 }));
    r.detail.add(result({ u"qtde"_s, u"VALOR"_s }, u"0.00"_s, { 70, 0, 60, 20 }));
    r.pageFooter = ReportBand(20);
    r.pageFooter.add(pageNumber(u"P "_s, { 0, 0, 40, 20 }));
    return r;
}

// The small page with a group by brand, its summary the brand's quantity,
// and the report's summary the quantity of all rows.
ReportLayout groupedLayout()
{
    ReportLayout layout = smallLayout();
    ReportGroup &g = layout.group.emplace();
    g.keyColumn = u"marca"_s;
    g.header = ReportBand(20);
    g.header.add(dataText(u"MARCA"_s, { 0, 0, 60, 20 }));
    g.summary = ReportBand(20);
    g.summary.add(label(u"T"_s, { 0, 0, 20, 20 }));
    g.summary.add(result({ u"QTDE"_s }, u"0.00"_s, { 30, 0, 60, 20 }));
    layout.summary = ReportBand(20);
    layout.summary.add(result({ u"QTDE"_s }, u"0.00"_s, { 30, 0, 60, 20 }));
    return layout;
}

} // namespace

// Rows built in memory, as the reads of the store give them.
class Preparation : public testing::Test {
protected:
    void add(const QString &produto, const QString &marca, const QVariant &qtde, const QVariant &valor = 10.0,
        const QString &descricao = u"Peça"_s)
    {
        m_rows.rows.push_back({ produto, marca, descricao, u"UN"_s, qtde, valor });
    }
    void addRows(int n, const QString &marca = u"BOSCH"_s, double qtde = 1.0)
    {
        for (int i = 0; i < n; ++i)
            add(u"%1%2"_s.arg(marca.left(1)).arg(++m_next), marca, qtde);
    }
    const ReportRows &items() const { return m_rows; }
    void clear() { m_rows.rows.clear(); }

private:
    ReportRows m_rows { { textColumn(u"PRODUTO"_s), textColumn(u"MARCA"_s), textColumn(u"DESCRICAO"_s),
                            textColumn(u"UN"_s), numberColumn(u"QTDE"_s, u"0.00"_s),
                            numberColumn(u"VALOR"_s, u"0.00"_s) },
        {} };
    int m_next = 0;
};

TEST_F(Preparation, BandsFlowOntoPagesBetweenHeaderAndFooter)
{
    ReportLayout layout = smallLayout();
    layout.summary = ReportBand(30);
    layout.summary.add(result({ u"QTDE"_s }, u"0.00"_s, { 0, 0, 60, 20 }));
    // Details per page, and whether the summary still fits on the last one.
    const struct {
        int rows;
        QList<int> details;
        int summaryPage;
    } cases[] = { { 0, { 0 }, 1 }, { 5, { 5 }, 1 }, { 7, { 7, 0 }, 2 }, { 14, { 7, 7, 0 }, 3 },
        { 15, { 7, 7, 1 }, 3 } };
    for (const auto &c : cases) {
        clear();
        addRows(c.rows);
        const PreparedReport r = prepareReport(layout, items());
        ASSERT_EQ(r.pages.size(), size_t(c.details.size())) << c.rows;
        for (const PreparedPage &page : r.pages) {
            const QStringList lines = pageLines(page);
            SCOPED_TRACE(lines.join(u'/').toStdString());
            EXPECT_EQ(lines.first().left(1), u"H"_s);
            EXPECT_EQ(lines.last(), u"P "_s + QString::number(page.number));
            EXPECT_EQ(lines.filter(QRegularExpression(u"^B\\d+ \\|"_s)).size(), c.details[page.number - 1]);
            EXPECT_EQ(lines.contains(u"%1,00"_s.arg(c.rows)), page.number == c.summaryPage);
            EXPECT_DOUBLE_EQ(page.lines.back().items[0].box.top(), 170); // the footer at the foot
        }
    }
}

TEST_F(Preparation, HeaderShowsTheRowAboutToPrintAndDetailsStackByHeight)
{
    addRows(9);
    const PreparedReport r = prepareReport(smallLayout(), items());
    ASSERT_EQ(r.pages.size(), 2u);
    EXPECT_EQ(pageLines(r.pages[0]).first(), u"H | B1"_s);
    EXPECT_EQ(pageLines(r.pages[1]).first(), u"H | B8"_s);
    const PreparedPage &p = r.pages[0];
    for (size_t i = 1; i < 8; ++i)
        EXPECT_DOUBLE_EQ(p.lines[i].items[0].box.top(), 10 + 20 * qreal(i)) << i;
    EXPECT_DOUBLE_EQ(p.lines[1].items[0].box.left(), 10);
}

TEST_F(Preparation, GroupsRepeatTheirHeaderAndCloseThePageWhenAsked)
{
    ReportLayout layout = groupedLayout();
    ReportGroup &g = *layout.group;
    addRows(8, u"ACME"_s, 1.0); // over a page: 1 header + 6 details fit under the page header
    addRows(2, u"BETA"_s, 2.0);
    add(u"B99"_s, u"BETA"_s, QVariant()); // adds nothing

    for (bool newPage : { true, false }) {
        g.newPageAfter = newPage;
        const PreparedReport r = prepareReport(layout, items());
        QStringList all;
        for (const PreparedPage &page : r.pages)
            all << pageLines(page).join(u" / "_s);
        SCOPED_TRACE(all.join(u"\n"_s).toStdString());
        if (newPage) {
            ASSERT_EQ(r.pages.size(), 3u);
            EXPECT_EQ(all[0],
                u"H | A1 / ACME / A1 | 10,00 / A2 | 10,00 / A3 | 10,00 / A4 | 10,00 / A5 | 10,00 / "
                "A6 | 10,00 / P 1"_s);
            EXPECT_EQ(all[1], u"H | A7 / ACME / A7 | 10,00 / A8 | 10,00 / T | 8,00 / P 2"_s);
            EXPECT_EQ(
                all[2], u"H | B9 / BETA / B9 | 20,00 / B10 | 20,00 / B99 | 0,00 / T | 4,00 / 12,00 / P 3"_s);
        } else {
            // The next group follows on the same page; one that runs over
            // repeats its header.
            ASSERT_EQ(r.pages.size(), 3u);
            EXPECT_EQ(all[1],
                u"H | A7 / ACME / A7 | 10,00 / A8 | 10,00 / T | 8,00 / BETA / B9 | 20,00 / "
                "B10 | 20,00 / P 2"_s);
            EXPECT_EQ(all[2], u"H | B99 / BETA / B99 | 0,00 / T | 4,00 / 12,00 / P 3"_s);
        }
    }
}

TEST_F(Preparation, TextsAreAlignedInTheirBoxesAndCutAtTheEdge)
{
    const QString longText = u"Amortecedor dianteiro com kit completo"_s;
    add(u"X1"_s, u"BOSCH"_s, 1.5, 10.0, longText);
    ReportLayout layout = smallLayout();
    layout.detail = ReportBand(20);
    layout.detail.add(dataText(u"PRODUTO"_s, { 0, 0, 60, 16 }).box());
    layout.detail.add(dataText(u"QTDE"_s, { 60, 0, 60, 16 }).box().align(Qt::AlignRight));
    layout.detail.add(dataText(u"UN"_s, { 120, 0, 40, 16 }).box().align(Qt::AlignHCenter));
    layout.detail.add(dataText(u"DESCRICAO"_s, { 160, 0, 80, 16 }).box());
    layout.detail.add(label(u"fim"_s, { 200, 2, 40, 12 }).align(Qt::AlignRight).fitText());
    layout.detail.add(label(u"meio"_s, { 0, 4, 280, 12 }).align(Qt::AlignHCenter).fitText());

    const PreparedReport r = prepareReport(layout, items());
    const PreparedLine &line = r.pages[0].lines[1];
    ASSERT_EQ(line.items.size(), 6u);
    const QFontMetricsF fm(reportFont({}));
    const auto width = [&](const QString &t) { return fm.horizontalAdvance(t); };
    const PreparedText &left = line.items[0], &right = line.items[2], &centre = line.items[3];
    EXPECT_EQ(left.text, u"X1"_s);
    EXPECT_DOUBLE_EQ(left.origin.x(), 10 + 2);
    // Vertically centred in the 16-pixel box.
    EXPECT_NEAR(left.origin.y() - fm.ascent() + (fm.ascent() + fm.descent()) / 2, 30 + 8, 0.01);
    EXPECT_EQ(right.text, u"1,50"_s);
    EXPECT_NEAR(right.origin.x() + width(u"1,50"_s), 10 + 120 - 2, 0.01);
    EXPECT_NEAR(centre.origin.x() + width(u"UN"_s) / 2, 10 + 140, 0.01);
    EXPECT_FALSE(left.cut || right.cut || centre.cut);

    // The long description: one line, starting at the left, cut at the box.
    const PreparedText &cut = line.items[4];
    EXPECT_TRUE(cut.cut);
    EXPECT_TRUE(longText.startsWith(cut.text));
    EXPECT_LT(cut.text.size(), longText.size());
    EXPECT_LT(width(cut.text.chopped(1)), 76);
    EXPECT_GE(width(cut.text), 76);
    EXPECT_EQ(cut.clip, QRectF(10 + 162, 30, 76, 16));
    EXPECT_EQ(cut.cell.toString(), longText); // a spreadsheet keeps it whole

    // Sized to the text: one keeps its right edge, the other its centre.
    const PreparedText &fim = line.items[5], &meio = line.items[1];
    EXPECT_NEAR(fim.box.right(), 10 + 240, 0.01);
    EXPECT_NEAR(fim.box.width(), width(u"fim"_s), 0.01);
    EXPECT_NEAR(meio.box.center().x(), 10 + 140, 0.01);
}

// One digit less is another amount: a number wider than its box is printed
// smaller, whole, the sum as the line's value.
TEST_F(Preparation, NumbersTooWideForTheirBoxShrinkAndKeepEveryDigit)
{
    add(u"X1"_s, u"BOSCH"_s, 1000.0, 15438.2603);
    ReportLayout layout = smallLayout();
    layout.detail = ReportBand(20);
    layout.detail.add(dataText(u"VALOR"_s, { 0, 0, 64, 16 }).px(11).box().align(Qt::AlignRight));
    layout.detail.add(
        result({ u"QTDE"_s, u"VALOR"_s }, u"0.00"_s, { 64, 0, 64, 16 }).px(11).box().align(Qt::AlignRight));

    const PreparedReport r = prepareReport(layout, items());
    const PreparedLine &line = r.pages[0].lines[1];
    ASSERT_EQ(line.items.size(), 2u);
    const PreparedText &value = line.items[0], &total = line.items[1];
    EXPECT_EQ(value.font.pixelSize, 11); // fits as it is
    EXPECT_FALSE(value.cut);
    EXPECT_EQ(total.text, u"15438260,30"_s);
    EXPECT_FALSE(total.cut);
    EXPECT_LT(total.font.pixelSize, 11);
    EXPECT_LE(QFontMetricsF(reportFont(total.font)).horizontalAdvance(total.text), 64 - 4);
    EXPECT_DOUBLE_EQ(total.cell.toDouble(), 15438260.3);
}

TEST_F(Preparation, NoRowsGivesOnePageOfHeaderAndFooter)
{
    EXPECT_EQ(
        pageLines(prepareReport(smallLayout(), items()).pages[0]), QStringList({ u"H | "_s, u"P 1"_s }));
}

TEST_F(Preparation, UnknownColumnIsAnError)
{
    ReportLayout layout = smallLayout();
    layout.detail.add(result({ u"QTDE"_s, u"PESO"_s }, u"0.00"_s, { 0, 0, 10, 10 }));
    try {
        prepareReport(layout, items());
        FAIL() << "prepared with an unknown column";
    } catch (const ReportError &e) {
        EXPECT_TRUE(e.message().contains(u"'PESO'"_s)) << e.message().toStdString();
    }
}

// Laid out a few rows at a time, as the preview does between the user's
// input, the pages are those of one go: no row, result or group heading is
// lost or doubled where a slice ends.
TEST_F(Preparation, PageByPageGivesTheSamePagesAsOneGo)
{
    const ReportLayout layout = groupedLayout();
    addRows(9, u"ACME"_s, 1.0);
    addRows(13, u"BETA"_s, 2.0);
    addRows(1, u"CORA"_s, 3.0);
    const auto all = [](const PreparedReport &r) {
        QStringList lines;
        for (const PreparedPage &page : r.pages)
            lines << pageLines(page).join(u" / "_s);
        return lines;
    };
    const QStringList whole = all(prepareReport(layout, items()));
    ASSERT_GT(whole.size(), 4);

    ReportPreparation first(layout, items());
    EXPECT_EQ(first.finishedPages(), 0);
    first.prepareUntil(1);
    EXPECT_EQ(first.finishedPages(), 1);
    EXPECT_FALSE(first.isComplete());
    EXPECT_EQ(all(first.report()).first(), whole.first());
    for (int slice : { 1, 3, 7 }) {
        ReportPreparation sliced(layout, items());
        while (!sliced.isComplete())
            sliced.prepareRows(slice);
        EXPECT_EQ(sliced.finishedPages(), int(whole.size()));
        EXPECT_EQ(all(sliced.report()), whole) << slice;
    }
    EXPECT_EQ(all(first.take()), whole);
}
