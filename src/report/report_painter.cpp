#include "report/report_painter.h"

#include "report/report_fonts.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <optional>

void paintPage(QPainter &painter, const PreparedPage &page)
{
    painter.save();
    // A thin border: 0.4 pt on paper, and never under one pixel on screen,
    // where a thinner line would show grey.
    const qreal devicePixel = 1.0 / std::max(painter.transform().m11(), 0.01);
    const qreal penWidth = std::max(0.5, devicePixel);
    const qreal inset = penWidth / 2; // the border inside the rectangle, as on screen
    painter.setPen(QPen(Qt::black, penWidth));
    painter.setBrush(Qt::NoBrush);
    std::optional<ReportFont> current;
    for (const PreparedLine &line : page.lines) {
        for (const PreparedText &item : line.items) {
            if (item.boxed)
                painter.drawRect(item.box.adjusted(inset, inset, -inset, -inset));
            if (item.text.isEmpty())
                continue;
            if (current != item.font) {
                painter.setFont(reportFont(item.font));
                current = item.font;
            }
            if (item.cut) {
                painter.save();
                painter.setClipRect(item.clip, Qt::IntersectClip);
                painter.drawText(item.origin, item.text);
                painter.restore();
            } else {
                painter.drawText(item.origin, item.text);
            }
        }
    }
    painter.restore();
}

void paintPages(
    QPainter &painter, QPagedPaintDevice &device, const PreparedReport &report, int first, int last)
{
    const qreal scale = device.logicalDpiX() / 96.0;
    first = std::max(first, 1);
    last = std::min(last, int(report.pages.size()));
    for (int n = first; n <= last; ++n) {
        if (n > first)
            device.newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, report.pages[size_t(n - 1)]);
        painter.restore();
    }
}

QPageSize reportPageSize(const PreparedReport &report)
{
    // Close enough to a standard paper (A4 here), the standard one is taken.
    const QSizeF mm = QSizeF(report.pageSize) * (25.4 / 96.0);
    return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}
