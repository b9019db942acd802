#pragma once

#include "report/prepared_report.h"

// Writes the prepared pages as a workbook of one worksheet: one row per
// printed line, in printing order, its elements in columns left to right;
// numbers as numbers under their pattern, texts whole (also where the page
// cuts them). Throws SpreadsheetError; the target is replaced only when the
// whole workbook was written.
void writeReportXlsx(const PreparedReport &report, const QString &path);
