#pragma once

#include "ui/widgets/grid.h"

#include <QPointer>

#include <optional>

class PriceEntry;
class Prompts;
class QLineEdit;

// The editor of the price column. A text that is not a price keeps its
// editor open whatever way the supplier tries to leave it: Tab, Enter, the
// arrow and page keys, F2, a click anywhere else in the window (the click
// does not go through) or closing the window. The message is shown at once
// and the supplier corrects the text or cancels it with Escape.
class PriceDelegate final : public GridCellDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PriceDelegate)

public:
    PriceDelegate(PriceEntry &flow, Prompts &prompts, QAbstractItemView *grid);

    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // True when an editor is open with a text that is not a price; the
    // message is shown and the editor keeps the focus.
    bool holdsBadPrice();
    // Stores the text of an open editor and closes it. False, with the
    // message shown, when the text is not a price.
    bool finishEdit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *openEditor() const;
    // The message for the text of the open editor when it is not a price.
    std::optional<QString> badPrice() const;
    void report(const QString &problem);
    bool onEditorEvent(QEvent *event);
    // Events anywhere in the program while the editor is open.
    bool gateEvent(QObject *watched, QEvent *event);
    bool isEditorOrInside(const QObject *object) const;

    PriceEntry &m_flow;
    Prompts &m_prompts;
    QAbstractItemView *m_grid;
    mutable QPointer<QLineEdit> m_editor;
    bool m_reporting = false;
};
