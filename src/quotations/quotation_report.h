#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"

class TDm;

// The quotation printout RLCotacao: one boxed line per item of CotacaoFornc
// as the price entry shows it, under a heading repeated on every page.
ReportLayout RLCotacao();

// "Imprime Cotação": selects the brand index on the items (it stays in force
// for the grid) and prepares the printout from the items shown.
PreparedReport prepareQuotationReport(TDm &dm);
