#pragma once

#include "store/quotation_item_rows.h"

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QScrollBar;

// The panel list under the price grid: two stacked panels with the long
// texts (application and observation) of the current item and the next
// one, the current item's panel in mint green, the other in sky blue. It
// follows the item set's current row; a click on a panel makes its item
// current. It neither adds nor deletes rows. The current item's panel may
// carry a note at the right of its observation line. When the current item's
// texts are too long for their lines, its panel takes the room of both and
// shows them whole, wrapped; a text cut short on a line ends in "…" and is
// whole in its tool tip.
class ItemPanels final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemPanels)

public:
    static constexpr int PanelWidth = 995;
    static constexpr int PanelHeight = 45;

    ItemPanels(QuotationItemSet &items, QWidget *parent = nullptr);

    // The row each panel shows (-1 when empty) and its two texts, whole.
    int panelRow(int panel) const { return m_rows[size_t(panel)]; }
    QString aplicacaoText(int panel) const;
    QString obsText(int panel) const;
    // Where they are shown.
    QLabel *aplicacaoLabel(int panel) const;
    QLabel *obsLabel(int panel) const;
    QWidget *panel(int panel) const { return m_panels[size_t(panel)].frame; }

    void refresh();

    // A line shown at the right of the current item's panel (the item's last
    // price), asked each time the panels follow the current row.
    void setCurrentNote(std::function<QString()> note);
    QString noteText(int panel) const;
    // A second note, at the right of the current item's application line
    // (the item's list price).
    void setCurrentListNote(std::function<QString()> note);
    QString listNoteText(int panel) const;
    // Puts text in the current item's note until the panels next follow the
    // current row (an answer to a key, such as F3 without a last price).
    void showCurrentNote(const QString &text);
    void showCurrentListNote(const QString &text);

Q_SIGNALS:
protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveTo(int row);

    struct Panel {
        QWidget *frame = nullptr;
        QLabel *aplicacaoCaption = nullptr;
        QLabel *obsCaption = nullptr;
        QLabel *aplicacao = nullptr;
        QLabel *obs = nullptr;
        QLabel *note = nullptr;
        QLabel *listNote = nullptr;
        QString aplicacaoText;
        QString obsText;
    };

    int obsWidth(const Panel &p) const;
    int aplicacaoWidth(const Panel &p) const;
    bool fitsTwoLines(const Panel &p) const;
    void layOutLines(int panel);
    void layOutWhole(int panel);

    QuotationItemSet &m_items;
    std::array<Panel, 2> m_panels;
    std::array<int, 2> m_rows { -1, -1 };
    std::function<QString()> m_note;
    std::function<QString()> m_listNote;
    int m_valueLeft = 0;
    QScrollBar *m_scroll;
    bool m_updating = false;
};
