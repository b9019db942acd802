#include "ui/widgets/hover_bold.h"

#include <QEvent>
#include <QWidget>

HoverBold::HoverBold(QWidget *target)
    : QObject(target)
    , m_target(target)
{
    target->installEventFilter(this);
}

bool HoverBold::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        QFont font = m_target->font();
        font.setBold(event->type() == QEvent::Enter);
        m_target->setFont(font);
    }
    return QObject::eventFilter(watched, event);
}
