#pragma once

#include "quotations/price_entry.h"

#include <QWidget>

// The prices given for one part, one point per quotation in date order, and
// the list price as a dashed line. Each point names its quotation, date and
// price in its tool tip; with the focus, the keys move
// between points (Left, Right, Home, End) and the chart reports the same text (currentText), for the
// label under it and for screen readers.
class PriceHistoryChart final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PriceHistoryChart)

public:
    explicit PriceHistoryChart(QWidget *parent = nullptr);

    void setHistory(const PriceHistory &history);

    // The point chosen with the keys (the newest at first); -1 when empty.
    int currentPoint() const { return m_current; }
    void setCurrentPoint(int point);
    // The chosen point's text; the empty state's text when there is none.
    QString currentText() const;
    // The point under a position of the widget, -1 when none is.
    int pointAt(const QPoint &pos) const;
    QPointF pointCentre(int point) const;

    static QString emptyText();

Q_SIGNALS:
    void currentChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRectF plotArea() const;
    double yOf(double valor) const;

    PriceHistory m_history;
    double m_low = 0;
    double m_high = 1;
    int m_current = -1;
};
