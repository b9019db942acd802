#include "report/report_painter.h"

#include "report/report_fonts.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <optional>

void paintPage(QPainter &painter, const PreparedPage &page)
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0.5)); // a thin border: one screen pixel, 0.4 pt on paper
    painter.setBrush(Qt::NoBrush);
    std::optional<ReportFont> current;
    for (const PreparedLine &line : page.lines) {
        for (const PreparedText &item : line.items) {
            if (item.boxed) // the border inside the rectangle, as on screen
                painter.drawRect(item.box.adjusted(0.25, 0.25, -0.25, -0.25));
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

void paintPages(QPainter &painter, QPagedPaintDevice &device, const PreparedReport &report, int first, int last)
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
