#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"
#include "report/report_preparation.h"
#include "store/printout_reads.h"

class TDm;

// The order printout RLPedAtende: the items of one order in brand order with
// each line's value, and the order's total after the last line.
ReportLayout RLPedAtende(const QString &pedido);

// RLPedAtende of these lines of the order.
ReportPreparation orderReport(const QString &pedido, const std::vector<ItemPrintLine> &lines);
// Reads the order's items as they are now and starts RLPedAtende from them.
ReportPreparation orderReport(TDm &dm, const QString &pedido);
PreparedReport prepareOrderReport(TDm &dm, const QString &pedido); // the whole printout

// What both order printouts share: the page's margins, the column heading
// cells, and the footer with the page number and the preparation time.
QMargins orderReportMargins();
void addOrderHeadings(ReportBand &band, int top, const QList<std::pair<int, int>> &leftAndWidth);
ReportBand orderPageFooter();
