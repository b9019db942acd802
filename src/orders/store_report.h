#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"

class TDm;

// The per-store printout RLSepararLoja: one section per store name, each on
// pages of its own, with the store's lines and its total.
ReportLayout RLSepararLoja();

// Opens SepararLojas anew on the order and prepares RLSepararLoja from it.
PreparedReport prepareStoreReport(TDm &dm, const QString &pedido);
