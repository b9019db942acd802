#pragma once

#include "report/prepared_report.h"

// Writes the prepared pages as a PDF file with vector text, the report's
// title as the document's title. The file is replaced only when the whole
// document was written; throws ReportError otherwise.
void writeReportPdf(const PreparedReport &report, const QString &path);
