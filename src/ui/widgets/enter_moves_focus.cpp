#include "ui/widgets/enter_moves_focus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

EnterMovesFocus::EnterMovesFocus(QObject *owner, std::initializer_list<QWidget *> widgets)
    : QObject(owner)
{
    for (QWidget *widget : widgets)
        widget->installEventFilter(this);
}

bool EnterMovesFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QObject::eventFilter(watched, event);
    // A Tab sent to the widget takes the same road through the focus chain as
    // a typed one.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(watched, &tab);
    return true;
}
