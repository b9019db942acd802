#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>
#include <QVariant>

#include <optional>

class RowModel;
class QFontMetrics;
class QHelpEvent;
class QPushButton;
class QTableView;
class QWidget;

// Helpers every grid window shares.

// Cells whose text is wider than the cell show it whole as their tool tip.
class WholeTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;
    // The text of the cell when it does not fit the cell, else empty.
    QString cutText(const QStyleOptionViewItem &option, const QModelIndex &index) const;
};

// Paints a grid's cells in the colours their model gives them also on the
// selected row, which is marked by a frame instead of the system highlight
// (a highlight would hide the row's own colour, such as a status colour). In
// a grid that edits, the current cell gets a frame of its own. A cell editor
// takes no more characters than the column stores, and Ctrl+Tab in it
// leaves the grid.
class GridCellDelegate : public WholeTextDelegate {
    Q_OBJECT
public:
    using WholeTextDelegate::WholeTextDelegate;
    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The height of a grid's rows in that font: the selected row's frame lies
// in the margin above and below the text, clear of accents on capitals.
int gridRowHeight(const QFontMetrics &metrics);

// A grid over a row model at a fixed place: one row selected at a time,
// following the row set's current row, column widths and centred titles from
// the model, no row headers, cells painted by GridCellDelegate, rows as high
// as gridRowHeight for the grid's font (also after it changes). Tab and
// Shift+Tab leave the grid; a grid that moves between cells with Tab turns
// setTabKeyNavigation on, and Ctrl+Tab and Ctrl+Shift+Tab still leave it.
QTableView *makeRowGrid(QWidget *parent, const char *name, RowModel *model, const QRect &place);

// A click on the title of that column sorts the grid's rows by the column's
// Qt::UserRole, ascending then descending; the other titles do not sort.
// The sorting is the view's: the row set keeps its own order.
void sortOnTitleClick(QTableView *grid, RowModel *model, int column);

// The row of the grid that shows the row of its row model.
int viewRow(const QTableView *grid, int modelRow);

// Paints the column titles of a grid in a colour.
void setTitleColour(QTableView *grid, const QColor &colour);
// Paints the column titles of a grid shaded from top to bottom, with a border.
void setTitleGradient(QTableView *grid, const QColor &top, const QColor &bottom, const QColor &border);

// The answer of a cell for a style role: the background colour for
// Qt::BackgroundRole, a font of that weight for Qt::FontRole when bold is
// given, and nothing for every other role.
QVariant cellStyle(int role, const QColor &background, std::optional<bool> bold = std::nullopt);

enum class ButtonCursor { Hand, Arrow };

// A button at a fixed place, with the hand cursor unless told otherwise.
// Never a default button (see noDefaultButton).
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &place,
    ButtonCursor cursor = ButtonCursor::Hand);
