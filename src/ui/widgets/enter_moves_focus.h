#pragma once

#include <QObject>

#include <initializer_list>

class QWidget;

// Makes the Enter key in the watched widgets act as the Tab key: the key is
// swallowed and the focus moves to the next control of the window.
class EnterMovesFocus final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EnterMovesFocus)

public:
    // Owned by owner; watches each of widgets.
    EnterMovesFocus(QObject *owner, std::initializer_list<QWidget *> widgets);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
