#pragma once

#include "report/report_layout.h"

#include <QDateTime>
#include <QPointF>
#include <QRectF>
#include <QVariant>

#include <vector>

// The pages of a report laid out once, as every output paints or writes
// them: positioned, already formatted texts and boxes, in pixels at 96 per
// inch from the page's top-left corner.

struct PreparedText {
    QRectF box; // the element's rectangle (bordered when boxed)
    QRectF clip; // the text is cut at this rectangle's edges
    QPointF origin; // start of the text's baseline
    QString text; // as printed: the glyphs that show, fully or cut
    QVariant cell; // for a spreadsheet: the whole text, or the number
    QString numberFormat; // the number's pattern ("0.00"); empty for the general format
    ReportFont font;
    bool boxed = false;
    bool cut = false; // the text runs past the clip rectangle
};

// One printed line of a band: elements that share a line, left to right.
struct PreparedLine {
    std::vector<PreparedText> items;
};

struct PreparedPage {
    int number = 0;
    std::vector<PreparedLine> lines; // in printing order
};

struct PreparedReport {
    QString title;
    // The name a save proposes, without suffix ("Pedido 2026000202"); the
    // title when empty.
    QString fileName;
    QSize pageSize;
    QDateTime preparedAt;
    std::vector<PreparedPage> pages;
};
