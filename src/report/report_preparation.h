#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"

class Dataset;

// Lays the report out anew from the rows of the dataset as they are now,
// walking them once in their order without moving the dataset's current row.
// A closed dataset has no rows. The date and time of preparation are read
// once from the program's clock. Throws ReportError for a column the dataset
// does not have.
//
// Page flow: each page opens with the page header; bands follow while they
// fit above the page footer, which closes every page. A group opens with its
// header, repeats it atop each further page, and closes with its summary.
// Results reset before a row is added when they were printed since.
PreparedReport prepareReport(const ReportLayout &layout, const Dataset &data);
