#include "ui/widgets/window_keys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

namespace {

class EnterPresses final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!isPlainEnter(key) || !button)
            return QObject::eventFilter(watched, event);
        // A held key presses once.
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void enterPressesButtons(QWidget *window)
{
    auto *presses = new EnterPresses(window);
    const auto buttons = window->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (qobject_cast<QPushButton *>(button) || qobject_cast<QToolButton *>(button))
            button->installEventFilter(presses);
    }
}

bool isPlainEnter(const QKeyEvent *key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void altF4Closes(QWidget *window)
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [window] { window->close(); });
}

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
