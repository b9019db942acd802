#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"

class TDm;

// The order printout RLPedAtende: the items of one order in brand order with
// each line's value, and the order's total after the last line.
ReportLayout RLPedAtende(const QString &pedido);

// Opens PedFornecPrint anew on the order and prepares RLPedAtende from it.
PreparedReport prepareOrderReport(TDm &dm, const QString &pedido);

// What both order printouts share: the page's margins, the column heading
// cells, and the footer with the page number and the preparation time.
QMargins orderReportMargins();
void addOrderHeadings(ReportBand &band, int top, const QList<std::pair<int, int>> &leftAndWidth);
ReportBand orderPageFooter();
