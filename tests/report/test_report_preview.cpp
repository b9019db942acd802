#include "report/widgets/report_preview.h"
#include "spreadsheet/xlsx_reader.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Three pages, each with one boxed text naming it.
PreparedReport threePages()
{
    PreparedReport r;
    r.title = u"Relatório de teste"_s;
    r.pageSize = QSize(794, 1123);
    for (int n = 1; n <= 3; ++n) {
        PreparedText t;
        t.box = QRectF(100, 100, 200, 20);
        t.clip = t.box.adjusted(2, 0, -2, 0);
        t.origin = QPointF(102, 115);
        t.text = u"Página de teste %1"_s.arg(n);
        t.cell = t.text;
        t.boxed = true;
        PreparedPage page;
        page.number = n;
        page.lines.push_back(PreparedLine { { t } });
        r.pages.push_back(page);
    }
    return r;
}

class ReportPreviewTest : public ::testing::Test {
protected:
    ReportPreviewTest()
    {
        services.saveFileName = [this](const QString &caption, const QString &dir, const QString &filter) {
            asked << caption + u" | "_s + filter;
            proposed << QFileInfo(dir).fileName();
            return answer;
        };
        services.showError = [this](const QString &message) { errors << message; };
    }

    std::unique_ptr<ReportPreview> open()
    {
        auto preview = std::make_unique<ReportPreview>(preparation, services);
        preview->resize(900, 800);
        preview->show();
        QApplication::setActiveWindow(preview.get()); // as the platform does, at once
        return preview;
    }

    ReportPreparation preparation { threePages() };
    PreviewServices services;
    QStringList asked, proposed, errors;
    QString answer;
    TempFolder folder;
};

} // namespace

TEST_F(ReportPreviewTest, PagesThroughWithButtonsKeysAndThePageNumber)
{
    auto p = open();
    EXPECT_EQ(p->windowTitle(), preparation.report().title);
    EXPECT_EQ(p->currentPage(), 1);
    EXPECT_FALSE(p->btnFirst()->isEnabled());
    EXPECT_FALSE(p->btnPrior()->isEnabled());

    QTest::mouseClick(p->btnNext(), Qt::LeftButton);
    EXPECT_EQ(p->currentPage(), 2);
    EXPECT_EQ(p->edtPage()->value(), 2);
    QTest::mouseClick(p->btnLast(), Qt::LeftButton);
    EXPECT_EQ(p->currentPage(), 3);
    EXPECT_FALSE(p->btnNext()->isEnabled());
    QTest::mouseClick(p->btnPrior(), Qt::LeftButton);
    EXPECT_EQ(p->currentPage(), 2);
    QTest::mouseClick(p->btnFirst(), Qt::LeftButton);
    EXPECT_EQ(p->currentPage(), 1);

    QTest::keyClick(p.get(), Qt::Key_PageDown);
    EXPECT_EQ(p->currentPage(), 2);
    QTest::keyClick(p.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(p->currentPage(), 3);
    QTest::keyClick(p.get(), Qt::Key_PageUp);
    EXPECT_EQ(p->currentPage(), 2);

    // A number typed in the page box counts on Enter, and Enter presses no
    // button: the preview stays open.
    p->edtPage()->setFocus();
    p->edtPage()->selectAll();
    QTest::keyClicks(p->edtPage(), u"1"_s);
    EXPECT_EQ(p->currentPage(), 2);
    QTest::keyClick(p->edtPage(), Qt::Key_Return);
    EXPECT_EQ(p->currentPage(), 1);
    QTest::keyClick(p->edtPage(), Qt::Key_Enter);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->result(), 0);
    for (QPushButton *b : p->findChildren<QPushButton *>())
        EXPECT_FALSE(b->autoDefault() || b->isDefault()) << b->text().toStdString();
}

TEST_F(ReportPreviewTest, ZoomsToTheWholePageThePageWidthAndActualSize)
{
    auto p = open();
    auto *scroll = p->findChild<QScrollArea *>();
    ASSERT_TRUE(scroll);
    const QSize room = scroll->viewport()->size();

    EXPECT_EQ(p->zoom(), ReportPreview::Zoom::PageWidth);
    EXPECT_LE(p->pageView()->width(), room.width());
    EXPECT_GT(p->pageView()->width(), room.width() - 40);
    EXPECT_GT(p->pageView()->height(), room.height()); // scrolls down the page

    QTest::mouseClick(p->btnWholePage(), Qt::LeftButton);
    EXPECT_TRUE(p->btnWholePage()->isChecked());
    EXPECT_LE(p->pageView()->width(), scroll->viewport()->width());
    EXPECT_LE(p->pageView()->height(), scroll->viewport()->height());

    QTest::mouseClick(p->btnActual(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(p->scale(), 1.0);

    QTest::mouseClick(p->btnPageWidth(), Qt::LeftButton);
    const qreal before = p->scale();
    p->resize(1200, 800);
    QApplication::processEvents();
    EXPECT_GT(p->scale(), before); // follows the window
}

TEST_F(ReportPreviewTest, PaintsTheShownPage)
{
    auto p = open();
    QTest::mouseClick(p->btnActual(), Qt::LeftButton);
    const auto shot = [&] { return p->pageView()->grab().toImage(); };
    const QImage first = shot();
    // At 100 % the page's pixels are the report's, past the grey around it.
    const QPoint border(12 + 100, 12 + 100);
    EXPECT_LT(qGray(first.pixel(border)), 100);
    EXPECT_EQ(qGray(first.pixel(border + QPoint(100, -5))), 255); // white paper above the box
    QTest::mouseClick(p->btnNext(), Qt::LeftButton);
    EXPECT_NE(shot(), first); // another page's text
}

// The first page shows at once; the rest follow between the user's input,
// and the last page, printing and saving wait for the whole report.
TEST_F(ReportPreviewTest, ShowsTheFirstPageBeforeTheRestAreLaidOut)
{
    // Pages 200 high with a footer of 20 and margins of 10: 8 lines a page.
    ReportLayout layout;
    layout.title = u"Longo"_s;
    layout.pageSize = QSize(300, 200);
    layout.margins = QMargins(10, 10, 10, 10);
    layout.detail = ReportBand(20).add(dataText(u"N"_s, { 0, 0, 60, 20 }));
    layout.pageFooter = ReportBand(20).add(pageNumber(u"P "_s, { 0, 0, 40, 20 }));
    ReportRows rows { { numberColumn(u"N"_s) }, {} };
    for (int n = 1; n <= 800; ++n) // 100 pages
        rows.rows.push_back({ double(n) });
    const auto started = [&] {
        preparation = ReportPreparation(layout, rows);
        auto p = open();
        EXPECT_EQ(p->currentPage(), 1);
        EXPECT_LT(p->pageCount(), 100);
        EXPECT_FALSE(p->isComplete());
        EXPECT_TRUE(p->pageCountLabel()->text().endsWith(u"…"_s));
        EXPECT_TRUE(p->btnLast()->isEnabled());
        return p;
    };

    auto p = started();
    // On its own, while the preview waits for input.
    EXPECT_TRUE(QTest::qWaitFor([&] { return p->isComplete(); }, 20000));
    EXPECT_EQ(p->pageCount(), 100);
    EXPECT_EQ(p->edtPage()->maximum(), 100);
    EXPECT_EQ(p->pageCountLabel()->text(), u"de 100"_s);

    p = started();
    QTest::mouseClick(p->btnNext(), Qt::LeftButton);
    EXPECT_EQ(p->currentPage(), 2);
    p->showPage(60); // a page not laid out yet is laid out for it
    EXPECT_EQ(p->currentPage(), 60);
    QTest::mouseClick(p->btnLast(), Qt::LeftButton);
    EXPECT_TRUE(p->isComplete());
    EXPECT_EQ(p->currentPage(), 100);

    p = started();
    answer = folder.file(u"longo.pdf"_s);
    QTest::mouseClick(p->btnSave(), Qt::LeftButton);
    EXPECT_EQ(pdfPageCount(answer), 100);
}

TEST_F(ReportPreviewTest, SavesAsPdfOrWorkbookByTheNameChosen)
{
    auto p = open();
    answer = folder.file(u"relatorio"_s); // no suffix: a PDF document
    QTest::mouseClick(p->btnSave(), Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], u"Salvar relatório | Documento PDF (*.pdf);;Planilha Excel (*.xlsx)"_s);
    EXPECT_EQ(pdfInfo(answer + u".pdf"_s, u"Pages"_s), u"3"_s);
    EXPECT_TRUE(pdfText(answer + u".pdf"_s).contains(u"Página de teste 3"_s));

    answer = folder.file(u"relatorio.XLSX"_s);
    QTest::mouseClick(p->btnSave(), Qt::LeftButton);
    const Worksheet sheet = readFirstWorksheet(answer);
    EXPECT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.cell(2, 0).text, u"Página de teste 3"_s);

    answer = folder.file(u"sem pasta/relatorio.pdf"_s);
    QTest::mouseClick(p->btnSave(), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(u"relatorio.pdf"_s)) << errors[0].toStdString();

    answer.clear(); // cancelled: nothing written, nothing said
    QTest::mouseClick(p->btnSave(), Qt::LeftButton);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(p->isVisible());
}

TEST_F(ReportPreviewTest, ProposesTheReportsNameFitForAFile)
{
    const struct {
        QString fileName;
        QString proposed;
    } cases[] = {
        { u"Pedido 2026000202 por loja"_s, u"Pedido 2026000202 por loja.pdf"_s },
        { QString(), u"Relatório de teste.pdf"_s }, // the title
        { u"Cotação 12/34:5*\"?<>|\t."_s, u"Cotação 12-34-5-------.pdf"_s },
        { u" . "_s, u"Relatório.pdf"_s },
    };
    for (const auto &c : cases) {
        PreparedReport named = threePages();
        named.fileName = c.fileName;
        preparation = ReportPreparation(std::move(named));
        auto p = open();
        proposed.clear();
        QTest::mouseClick(p->btnSave(), Qt::LeftButton);
        EXPECT_EQ(proposed, QStringList { c.proposed }) << c.fileName.toStdString();
    }
}

TEST_F(ReportPreviewTest, PrintsTheRangeChosenOnThePrinter)
{
    const QString path = folder.file(u"impresso.pdf"_s);
    QString jobName;
    services.choosePrinter = [&](QPrinter &printer, QWidget *) {
        jobName = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return true;
    };
    auto p = open();
    QTest::mouseClick(p->btnPrint(), Qt::LeftButton);
    EXPECT_EQ(jobName, preparation.report().title);
    EXPECT_EQ(pdfInfo(path, u"Pages"_s), u"2"_s);
    const QString text = pdfText(path);
    EXPECT_FALSE(text.contains(u"Página de teste 1"_s));
    EXPECT_TRUE(text.contains(u"Página de teste 2"_s));
    EXPECT_TRUE(errors.isEmpty());
}
