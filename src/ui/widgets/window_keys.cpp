#include "ui/widgets/window_keys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

bool isGridLeavingKey(const QKeyEvent *key)
{
    return (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        && (key->modifiers() & Qt::ControlModifier);
}

bool isForwardKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
}

void leaveGrid(QAbstractItemView *grid, bool forward)
{
    QWidget *focus = QApplication::focusWidget();
    // The editor keeps what was typed as it loses the focus, and closes.
    if (focus && focus != grid && grid->isAncestorOf(focus))
        grid->setFocus(Qt::OtherFocusReason);
    if (!grid->hasFocus())
        return; // the editor took the focus back: its text is refused
    // A Tab the grid does not take moves on through the window's chain.
    const bool cells = grid->tabKeyNavigation();
    grid->setTabKeyNavigation(false);
    QKeyEvent tab(QEvent::KeyPress, forward ? Qt::Key_Tab : Qt::Key_Backtab,
        forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(grid, &tab);
    grid->setTabKeyNavigation(cells);
}
