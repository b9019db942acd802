#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"
#include "report/report_preparation.h"
#include "store/printout_reads.h"

class TDm;

// The per-store printout RLSepararLoja: one section per store name, each on
// pages of its own, with the store's lines and its total.
ReportLayout RLSepararLoja();

// RLSepararLoja of these store lines of the order.
ReportPreparation storeReport(const QString &pedido, const std::vector<StorePickingLine> &lines);
// Reads the order's store lines as they are now and starts RLSepararLoja.
ReportPreparation storeReport(TDm &dm, const QString &pedido);
PreparedReport prepareStoreReport(TDm &dm, const QString &pedido); // the whole printout
