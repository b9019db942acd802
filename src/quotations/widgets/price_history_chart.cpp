#include "quotations/widgets/price_history_chart.h"

#include "common/regional.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int LeftMargin = 70; // room for the prices of the scale
constexpr int RightMargin = 24;
constexpr int TopMargin = 16;
constexpr int BottomMargin = 34; // room for the dates
constexpr double PointRadius = 4;
constexpr int GridLines = 4;
const QColor PriceColour(31, 87, 160);
const QColor ListColour(200, 90, 20);

QString priceText(double valor)
{
    return numberText(valor, u"#,##0.00"_s);
}

} // namespace

PriceHistoryChart::PriceHistoryChart(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAccessibleName(u"Gráfico dos preços"_s);
}

QString PriceHistoryChart::emptyText()
{
    return u"Nenhum preço anterior para este item."_s;
}

void PriceHistoryChart::setHistory(const PriceHistory &history)
{
    m_history = history;
    QList<double> values;
    for (const LastPrice &p : m_history.points)
        values << p.valor;
    if (m_history.listPrice)
        values << *m_history.listPrice;
    if (values.isEmpty()) {
        m_low = 0;
        m_high = 1;
    } else {
        const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
        // A flat history still gets a scale around its price.
        const double span = *high - *low > 0 ? *high - *low : std::max(std::abs(*high), 1.0);
        // No price is negative: the scale then starts at zero at the lowest.
        m_low = *low >= 0 ? std::max(0.0, *low - span * 0.1) : *low - span * 0.1;
        m_high = *high + span * 0.1;
    }
    m_current = -1;
    setCurrentPoint(int(m_history.points.size()) - 1);
    update();
}

void PriceHistoryChart::setCurrentPoint(int point)
{
    if (m_history.points.isEmpty())
        point = -1;
    else
        point = std::clamp(point, 0, int(m_history.points.size()) - 1);
    m_current = point;
    setAccessibleDescription(currentText());
    update();
    Q_EMIT currentChanged(currentText());
}

QString PriceHistoryChart::currentText() const
{
    if (m_current < 0)
        return emptyText();
    return PriceEntry::pointText(m_history.points.at(m_current));
}

QRectF PriceHistoryChart::plotArea() const
{
    return QRectF(LeftMargin, TopMargin, std::max(1, width() - LeftMargin - RightMargin),
        std::max(1, height() - TopMargin - BottomMargin));
}

double PriceHistoryChart::yOf(double valor) const
{
    const QRectF area = plotArea();
    return area.bottom() - (valor - m_low) / (m_high - m_low) * area.height();
}

QPointF PriceHistoryChart::pointCentre(int point) const
{
    const QRectF area = plotArea();
    const qsizetype count = m_history.points.size();
    // Evenly spaced in date order: two quotations of one day stay apart.
    const double x = count == 1 ? area.center().x() : area.left() + area.width() * point / double(count - 1);
    return { x, yOf(m_history.points.at(point).valor) };
}

int PriceHistoryChart::pointAt(const QPoint &pos) const
{
    int best = -1;
    double bestDistance = 3 * PointRadius;
    for (int i = 0; i < m_history.points.size(); ++i) {
        const QPointF d = pointCentre(i) - QPointF(pos);
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void PriceHistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plotArea();
    const QFontMetrics metrics(font());

    if (m_history.points.isEmpty() && !m_history.listPrice) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, emptyText());
        return;
    }

    // The scale: prices at the left, light lines across.
    for (int i = 0; i <= GridLines; ++i) {
        const double valor = m_low + (m_high - m_low) * i / GridLines;
        const double y = yOf(valor);
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, LeftMargin - 6, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, priceText(valor));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());

    if (m_history.listPrice) {
        const double y = yOf(*m_history.listPrice);
        painter.setPen(QPen(ListColour, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        const QString label = u"Tabela : "_s + priceText(*m_history.listPrice);
        painter.drawText(
            QRectF(area.left() + 4, y - metrics.height() - 1, area.width() - 8, metrics.height()),
            Qt::AlignRight | Qt::AlignBottom, label);
    }

    if (m_history.points.isEmpty()) {
        // Clear of the list's line, wherever it lies.
        const double y = yOf(*m_history.listPrice);
        const QRectF half = y > area.center().y() ? QRectF(area.topLeft(), QPointF(area.right(), y))
                                                  : QRectF(QPointF(area.left(), y), area.bottomRight());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(half, Qt::AlignCenter | Qt::TextWordWrap, emptyText());
        return;
    }

    QPainterPath line;
    for (int i = 0; i < m_history.points.size(); ++i) {
        if (i == 0)
            line.moveTo(pointCentre(i));
        else
            line.lineTo(pointCentre(i));
    }
    painter.setPen(QPen(PriceColour, 2));
    painter.drawPath(line);

    // The dates of the first, the last and the chosen point, under the axis.
    QList<int> dated { 0, int(m_history.points.size()) - 1 };
    if (m_current >= 0)
        dated << m_current;
    QList<QRectF> taken;
    for (const int i : dated) {
        const QString date = dateText(m_history.points.at(i).data, u"dd/mm/yyyy"_s);
        const double w = metrics.horizontalAdvance(date) + 4;
        const double x = std::clamp(pointCentre(i).x() - w / 2, 0.0, double(width()) - w);
        const QRectF box(x, area.bottom() + 4, w, metrics.height());
        if (std::any_of(taken.cbegin(), taken.cend(), [&](const QRectF &r) { return r.intersects(box); }))
            continue;
        taken << box;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(box, Qt::AlignCenter, date);
    }

    for (int i = 0; i < m_history.points.size(); ++i) {
        const bool chosen = i == m_current;
        painter.setPen(QPen(chosen ? Qt::black : PriceColour, chosen ? 2 : 1));
        painter.setBrush(chosen ? QColor(255, 214, 0) : PriceColour);
        const double r = chosen ? PointRadius + 2 : PointRadius;
        painter.drawEllipse(pointCentre(i), r, r);
    }
    if (hasFocus() && m_current >= 0) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QPointF c = pointCentre(m_current);
        painter.drawRect(QRectF(c.x() - 10, c.y() - 10, 20, 20));
    }
}

void PriceHistoryChart::keyPressEvent(QKeyEvent *event)
{
    const int last = int(m_history.points.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentPoint(m_current - 1);
        break;
    case Qt::Key_Right:
        setCurrentPoint(m_current + 1);
        break;
    case Qt::Key_Home:
        setCurrentPoint(0);
        break;
    case Qt::Key_End:
        setCurrentPoint(last);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PriceHistoryChart::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update(); // the chosen point's frame shows where the keys act
}

void PriceHistoryChart::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void PriceHistoryChart::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const int point = pointAt(event->position().toPoint());
    if (point >= 0)
        setCurrentPoint(point);
}

bool PriceHistoryChart::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int point = pointAt(help->pos());
        if (point >= 0)
            QToolTip::showText(help->globalPos(), PriceEntry::pointText(m_history.points.at(point)), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
