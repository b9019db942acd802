#include "report/widgets/report_printer.h"

#include "report/report_painter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

void setUpPrinter(QPrinter &printer, const PreparedReport &report)
{
    printer.setDocName(report.title);
    printer.setFullPage(true); // positions are from the paper's corner
    printer.setPageSize(reportPageSize(report));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setFromTo(1, int(report.pages.size()));
}

bool printReport(const PreparedReport &report, QPrinter &printer)
{
    int first = 1, last = int(report.pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = std::max(first, printer.toPage());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    paintPages(painter, printer, report, first, last);
    return painter.end();
}
