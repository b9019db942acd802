#pragma once

#include "report/prepared_report.h"

class QPrinter;

// Sets a printer up for the report before the print dialog shows: the
// report's paper from its corner, its title as the job's name, its pages as
// the range offered.
void setUpPrinter(QPrinter &printer, const PreparedReport &report);

// Prints the prepared pages on the printer as the user left it (all pages,
// or the range chosen). False when the printer could not start.
bool printReport(const PreparedReport &report, QPrinter &printer);
