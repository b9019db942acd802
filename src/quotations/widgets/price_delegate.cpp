#include "quotations/widgets/price_delegate.h"

#include "quotations/price_entry.h"
#include "ui/prompts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <functional>

namespace {

// Sees every event of the program for as long as it lives.
class EventGate final : public QObject {
public:
    using Check = std::function<bool(QObject *, QEvent *)>;
    EventGate(QObject *owner, Check check)
        : QObject(owner)
        , m_check(std::move(check))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return m_check(watched, event); }

private:
    Check m_check;
};

bool isLeavingKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

PriceDelegate::PriceDelegate(PriceEntry &flow, Prompts &prompts, QAbstractItemView *grid)
    : GridCellDelegate(grid)
    , m_flow(flow)
    , m_prompts(prompts)
    , m_grid(grid)
{
}

QWidget *PriceDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = GridCellDelegate::createEditor(parent, option, index);
    m_editor = qobject_cast<QLineEdit *>(editor);
    if (m_editor) {
        auto *self = const_cast<PriceDelegate *>(this);
        new EventGate(
            m_editor, [self](QObject *watched, QEvent *event) { return self->gateEvent(watched, event); });
    }
    return editor;
}

QLineEdit *PriceDelegate::openEditor() const
{
    // A closed editor is hidden at once and deleted later.
    return m_editor && m_editor->isVisible() ? m_editor.data() : nullptr;
}

bool PriceDelegate::isEditorOrInside(const QObject *object) const
{
    for (; object; object = object->parent()) {
        if (object == m_editor)
            return true;
    }
    return false;
}

void PriceDelegate::report(const QString &problem)
{
    // The message box takes the focus for a moment: that is no leaving.
    m_reporting = true;
    m_prompts.error(problem);
    m_reporting = false;
}

std::optional<QString> PriceDelegate::badPrice() const
{
    QLineEdit *editor = openEditor();
    return editor ? m_flow.priceProblem(editor->text()) : std::nullopt;
}

bool PriceDelegate::holdsBadPrice()
{
    const std::optional<QString> problem = badPrice();
    if (!problem)
        return false;
    report(*problem);
    m_editor->setFocus();
    m_editor->selectAll();
    return true;
}

bool PriceDelegate::finishEdit()
{
    QLineEdit *editor = openEditor();
    if (!editor)
        return true;
    if (holdsBadPrice())
        return false;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool PriceDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && onEditorEvent(event))
        return true;
    return GridCellDelegate::eventFilter(watched, event);
}

bool PriceDelegate::onEditorEvent(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isLeavingKey(static_cast<QKeyEvent *>(event)->key())) {
        if (!holdsBadPrice())
            return false;
        event->accept();
        return true;
    }
    if (event->type() != QEvent::FocusOut)
        return false;
    if (m_reporting)
        return true;
    const std::optional<QString> problem = badPrice();
    if (!problem)
        return false;
    // Another program or a popup took the focus: the editor waits as it is.
    // A click gives the focus before its press is delivered: the press is
    // judged (and refused) by gateEvent.
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
        || reason == Qt::MouseFocusReason)
        return true;
    report(*problem);
    // The focus is moving right now; it comes back once that is done.
    QLineEdit *editor = m_editor;
    QTimer::singleShot(0, editor, [editor] {
        editor->setFocus();
        editor->selectAll();
    });
    return true;
}

bool PriceDelegate::gateEvent(QObject *watched, QEvent *event)
{
    if (m_reporting || !openEditor())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->window() != m_editor->window() || isEditorOrInside(widget))
            return false;
        break;
    }
    case QEvent::KeyPress:
        // A key the editor left alone goes on to the grid, which would move
        // to another row or act on the item (F2). Shift or Ctrl pressed on
        // their own, before the key they go with, move nothing.
        if ((watched != m_grid && watched != m_grid->viewport())
            || isModifierKey(static_cast<QKeyEvent *>(event)->key()))
            return false;
        break;
    default:
        return false;
    }
    if (!holdsBadPrice())
        return false;
    event->accept(); // taken here: it goes on to no parent
    return true;
}
