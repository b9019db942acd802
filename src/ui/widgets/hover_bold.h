#pragma once

#include <QObject>

class QWidget;

// Turns a widget's caption bold while the mouse pointer is over it and back
// to normal weight when the pointer leaves. Owned by the widget it watches.
class HoverBold final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HoverBold)

public:
    explicit HoverBold(QWidget *target);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_target;
};
