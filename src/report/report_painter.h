#pragma once

#include "report/prepared_report.h"

class QPainter;
class QPagedPaintDevice;

// Paints one prepared page in its own units, pixels at 96 per inch: the
// caller scales the painter to its device. The preview, the printer and the
// PDF file all paint through here.
void paintPage(QPainter &painter, const PreparedPage &page);

// Paints the pages numbered first to last (from 1) on a paged device whose
// painter is active, one device page each, from the paper's corner.
void paintPages(
    QPainter &painter, QPagedPaintDevice &device, const PreparedReport &report, int first, int last);

// The report's paper, from its page size.
class QPageSize;
QPageSize reportPageSize(const PreparedReport &report);
