#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>
#include <QVariant>

#include <optional>

class DatasetModel;
class QPushButton;
class QTableView;
class QWidget;

// Helpers every grid window shares.

// Paints a grid's cells in the colours their model gives them also on the
// selected row, which is marked by a frame instead of the system highlight
// (a highlight would hide the row's own colour, such as a status colour). In
// a grid that edits, the current cell gets a frame of its own.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// A grid over a dataset model at a fixed place: one row selected at a time,
// following the dataset's current row, column widths and centred titles from
// the model, no row headers, cells painted by GridCellDelegate.
QTableView *makeDatasetGrid(QWidget *parent, const char *name, DatasetModel *model, const QRect &place);

// A click on the title of that column sorts the grid's rows by the column's
// Qt::UserRole, ascending then descending; the other titles do not sort.
// The sorting is the view's: the dataset keeps its own order.
void sortOnTitleClick(QTableView *grid, DatasetModel *model, int column);

// The row of the grid that shows the row of its dataset model.
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
