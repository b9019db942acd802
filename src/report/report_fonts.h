#pragma once

#include "report/report_layout.h"

#include <QFont>

// The font of a report element: Arial in pixels, drawn with Liberation Sans
// (its metric twin) so that a page measures the same on every machine.
QFont reportFont(const ReportFont &font);
