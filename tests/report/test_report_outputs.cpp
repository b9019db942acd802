#include "common/clock.h"
#include "orders/order_report.h"
#include "report/report_error.h"
#include "report/report_pdf.h"
#include "report/report_xlsx.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Both files are written from the same prepared pages the preview shows.
class ReportOutputs : public testing::Test {
protected:
    ReportOutputs() { Clock::setCurrent(&clock); }
    ~ReportOutputs() override { Clock::setCurrent(nullptr); }

    PreparedReport twoPages() const
    {
        std::vector<ItemPrintLine> lines;
        const auto line = [](const QString &marca, const QString &produto, const QString &descricao,
                              double qtde, double valor) {
            return ItemPrintLine { QString(), marca, u"PF-"_s + produto, u"SIM"_s, descricao, u"UN"_s, qtde,
                valor };
        };
        for (int i = 0; i < 60; ++i)
            lines.push_back(line(u"BOSCH"_s, u"%1"_s.arg(i, 3, 10, QChar(u'0')), u"Peça"_s, 3.0, 2.5));
        lines.push_back(line(u"VALEO"_s, u"999"_s, longText, 1.5, 2.0));
        return orderReport(u"P1"_s, lines).take();
    }
    const QString longText
        = u"Jogo de juntas do motor completo com retentores e anéis de vedação para linha pesada"_s;
    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(14, 30, 5)) };
    TempFolder folder;
};

TEST_F(ReportOutputs, PdfHasThePagesTextAndTitle)
{
    const PreparedReport report = twoPages();
    ASSERT_EQ(report.pages.size(), 2u);
    const QString path = folder.file(u"Pedido P1.pdf"_s);
    writeReportPdf(report, path);

    EXPECT_EQ(pdfInfo(path, u"Pages"_s), u"2"_s);
    EXPECT_EQ(pdfInfo(path, u"Title"_s), u"Impressão de Pedidos Baixado para Atendimento"_s);
    EXPECT_TRUE(pdfInfo(path, u"Page size"_s).endsWith(u"(A4)"_s));
    const QStringList pages = pdfText(path).split(u'\f');
    ASSERT_GE(pages.size(), 2);
    const QString p1 = pages[0], p2 = pages[1];
    EXPECT_TRUE(p1.contains(u"Atender e Faturar o pedido : P1"_s)) << p1.toStdString();
    EXPECT_TRUE(p1.contains(QRegularExpression(u"BOSCH +PF-000 +SIM +Peça +UN +3 +2,50 +7,50"_s)));
    EXPECT_LT(p1.indexOf(u"PF-000"_s), p1.indexOf(u"PF-001"_s));
    EXPECT_TRUE(p1.contains(u"Página : 1"_s));
    EXPECT_TRUE(p1.contains(u"Impresso em : 26/06/2020 14:30:05"_s));
    EXPECT_FALSE(p1.contains(u"Valor Total"_s));
    EXPECT_TRUE(p2.contains(u"Atender e Faturar o pedido : P1"_s));
    EXPECT_TRUE(p2.contains(QRegularExpression(u"Valor Total +453,00"_s))) << p2.toStdString();
    EXPECT_TRUE(p2.contains(u"Página : 2"_s));
    EXPECT_FALSE(p2.contains(u"linha pesada"_s)); // cut at the cell's edge
}

TEST_F(ReportOutputs, WorkbookHasOneRowPerPrintedLine)
{
    const PreparedReport report = twoPages();
    const QString path = folder.file(u"Pedido P1.xlsx"_s);
    writeReportXlsx(report, path);

    const Worksheet sheet = readFirstWorksheet(path);
    size_t lines = 0;
    for (const PreparedPage &page : report.pages)
        lines += page.lines.size();
    ASSERT_EQ(sheet.rowCount(), int(lines));
    const auto text = [&](int row, int col) { return sheet.cell(row, col).text; };
    const auto number = [&](int row, int col) {
        EXPECT_EQ(sheet.cell(row, col).kind, CellKind::Number) << row << ',' << col;
        return sheet.cell(row, col).number;
    };
    EXPECT_EQ(text(0, 0), u"Atender e Faturar o pedido : P1"_s);
    for (int col = 0; col < 8; ++col)
        EXPECT_EQ(text(1, col), pageLines(report.pages[0])[1].split(u" | "_s)[col]);
    EXPECT_EQ(text(2, 0), u"BOSCH"_s);
    EXPECT_EQ(text(2, 1), u"PF-000"_s);
    EXPECT_DOUBLE_EQ(number(2, 5), 3);
    EXPECT_DOUBLE_EQ(number(2, 6), 2.5);
    EXPECT_DOUBLE_EQ(number(2, 7), 7.5);
    // The footer closes the first page; the second page repeats the header.
    const int footer = int(report.pages[0].lines.size()) - 1;
    EXPECT_EQ(text(footer, 0), u"Impresso em : 26/06/2020 14:30:05"_s);
    EXPECT_EQ(text(footer, 1), u"Página : 1"_s);
    EXPECT_EQ(text(footer + 1, 0), u"Atender e Faturar o pedido : P1"_s);
    const int last = sheet.rowCount() - 1;
    EXPECT_EQ(text(last - 2, 3), longText); // whole in the workbook
    EXPECT_DOUBLE_EQ(number(last - 2, 5), 1.5);
    EXPECT_EQ(text(last - 1, 0), u"Valor Total"_s);
    EXPECT_DOUBLE_EQ(number(last - 1, 1), 453);
}

TEST_F(ReportOutputs, FailedWriteSaysWhereAndLeavesNoFile)
{
    const PreparedReport report = orderReport(u"P1"_s, {}).take();
    const QString pdf = folder.file(u"falta/r.pdf"_s), xlsx = folder.file(u"falta/r.xlsx"_s);
    try {
        writeReportPdf(report, pdf);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const ReportError &e) {
        EXPECT_TRUE(e.message().contains(u"r.pdf"_s)) << e.message().toStdString();
    }
    EXPECT_THROW(writeReportXlsx(report, xlsx), SpreadsheetError);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(QFile::exists(xlsx));
}
