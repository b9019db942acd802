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

// "Imprime Cotação": the printout of the items CotaFornec shows, in brand
// order: those of the quotation chosen, every item without a choice, none
// while the items are closed.
ReportPreparation quotationReport(TDm &dm);
PreparedReport prepareQuotationReport(TDm &dm); // the whole printout
