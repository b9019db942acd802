#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"
#include "report/report_preparation.h"
#include "store/printout_reads.h"

class TDm;

// The quotation printout RLCotacao: one boxed line per item of CotacaoFornc
// as the price entry shows it, under a heading repeated on every page.
ReportLayout RLCotacao();

// The printout of these items, in their order, named after the quotation its
// heading prints.
ReportPreparation quotationReport(const std::vector<ItemPrintLine> &lines);

// "Imprime Cotação": selects the brand index on the items (it stays in force
// for the grid) and starts the printout of the items shown: those of the
// grid's filter while it is on, none while the items are closed.
ReportPreparation quotationReport(TDm &dm);
PreparedReport prepareQuotationReport(TDm &dm); // the whole printout
