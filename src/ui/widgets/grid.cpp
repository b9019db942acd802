#include "ui/widgets/grid.h"

#include "ui/row_model.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/window_keys.h"

#include <algorithm>

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolTip>

namespace {

constexpr int FrameWidth = 2; // the selected row's frame
constexpr int FrameGap = 2; // between the frame and the text

// What every grid of ours does with its font and the keys that leave it.
class GridBehaviour final : public QObject {
public:
    explicit GridBehaviour(QTableView *grid)
        : QObject(grid)
        , m_grid(grid)
    {
        grid->installEventFilter(this);
        fitRows();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_grid && event->type() == QEvent::FontChange)
            fitRows();
        if (watched == m_grid && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (isGridLeavingKey(key)) {
                leaveGrid(m_grid, isForwardKey(key));
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fitRows() { m_grid->verticalHeader()->setDefaultSectionSize(gridRowHeight(m_grid->fontMetrics())); }

    QTableView *m_grid;
};

} // namespace

bool WholeTextDelegate::helpEvent(
    QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event && event->type() == QEvent::ToolTip) {
        const QString text = cutText(option, index);
        if (!text.isEmpty()) {
            QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString WholeTextDelegate::cutText(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (cell.text.isEmpty())
        return {};
    // The style cuts the text short with "…" when its size does not fit.
    const QSize wanted = sizeHint(cell, index);
    return wanted.width() > option.rect.width() ? cell.text : QString();
}

int gridRowHeight(const QFontMetrics &metrics)
{
    // Accents on capitals and the cedilla may reach past the font's ascent
    // and descent: the margin grows by what they overhang, on both sides,
    // as the text is centred.
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("ÓÂÉÇÃ"));
    const int overhang = std::max({ 0, -ink.top() - metrics.ascent(), ink.bottom() - metrics.descent() });
    return metrics.height() + 2 * (overhang + FrameWidth + FrameGap);
}

void GridCellDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    // The view has already filled a selected row with the highlight: a cell
    // with no colour of its own goes back to the grid's.
    painter->fillRect(option.rect, option.palette.brush(QPalette::Active, QPalette::Base));
    QStyledItemDelegate::paint(painter, plain, index);

    const QColor frame = option.palette.color(QPalette::Active, QPalette::Highlight);
    const QRect r = option.rect;
    painter->save();
    if (option.state & QStyle::State_Selected) {
        // Along the row's edges; the ends close on the first and last columns.
        painter->fillRect(QRect(r.left(), r.top(), r.width(), FrameWidth), frame);
        painter->fillRect(QRect(r.left(), r.bottom() - FrameWidth + 1, r.width(), FrameWidth), frame);
        if (index.column() == 0)
            painter->fillRect(QRect(r.left(), r.top(), FrameWidth, r.height()), frame);
        if (index.column() == index.model()->columnCount(index.parent()) - 1)
            painter->fillRect(QRect(r.right() - FrameWidth + 1, r.top(), FrameWidth, r.height()), frame);
    }
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    if ((option.state & QStyle::State_HasFocus) && view
        && view->editTriggers() != QAbstractItemView::NoEditTriggers) {
        // In the gap between the row's frame and the text.
        painter->setPen(QPen(frame, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r.adjusted(FrameWidth, FrameWidth, -FrameWidth - 1, -FrameWidth - 1));
    }
    painter->restore();
}

QWidget *GridCellDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = WholeTextDelegate::createEditor(parent, option, index);
    const int limit = index.data(RowModel::MaxLengthRole).toInt();
    if (auto *line = qobject_cast<QLineEdit *>(editor); line && limit > 0)
        line->setMaxLength(limit);
    return editor;
}

bool GridCellDelegate::eventFilter(QObject *watched, QEvent *event)
{
    // Ahead of the editor's own Tab, which would move to the next cell.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *grid = qobject_cast<QAbstractItemView *>(parent());
        if (grid && isGridLeavingKey(key)) {
            leaveGrid(grid, isForwardKey(key));
            return true;
        }
    }
    return WholeTextDelegate::eventFilter(watched, event);
}

namespace {

QTableView *makeGrid(QWidget *parent, const char *name, QAbstractItemModel *model, const QList<int> &widths,
    const QRect &place)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setModel(model);
    grid->setGeometry(place);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setWordWrap(false);
    grid->setItemDelegate(new GridCellDelegate(grid));
    for (int c = 0; c < widths.size(); ++c) {
        if (widths.at(c) > 0)
            grid->setColumnWidth(c, widths.at(c));
    }
    new GridBehaviour(grid);
    return grid;
}

// Puts a sorting proxy between the grid and its model; returns the new
// selection model for the source model to follow.
QItemSelectionModel *sortThroughProxy(QTableView *grid, QAbstractItemModel *model, int column)
{
    auto *sorted = new QSortFilterProxyModel(grid);
    sorted->setSourceModel(model);
    sorted->setSortRole(Qt::UserRole);
    QItemSelectionModel *old = grid->selectionModel();
    grid->setModel(sorted);
    delete old;
    QHeaderView *titles = grid->horizontalHeader();
    QObject::connect(titles, &QHeaderView::sectionClicked, grid, [grid, sorted, column](int clicked) {
        if (clicked != column)
            return;
        const Qt::SortOrder order
            = sorted->sortColumn() == column && sorted->sortOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
        sorted->sort(column, order);
        grid->horizontalHeader()->setSortIndicator(column, order);
        grid->horizontalHeader()->setSortIndicatorShown(true);
        grid->scrollTo(grid->currentIndex());
    });
    return grid->selectionModel();
}

} // namespace

QTableView *makeRowGrid(QWidget *parent, const char *name, RowModel *model, const QRect &place)
{
    QList<int> widths;
    for (const GridColumn &c : model->columns())
        widths << c.width;
    QTableView *grid = makeGrid(parent, name, model, widths, place);
    model->followSelection(grid->selectionModel());
    return grid;
}

void sortOnTitleClick(QTableView *grid, RowModel *model, int column)
{
    model->followSelection(sortThroughProxy(grid, model, column));
}

int viewRow(const QTableView *grid, int modelRow)
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(grid->model());
    if (!proxy)
        return modelRow;
    return proxy->mapFromSource(proxy->sourceModel()->index(modelRow, 0)).row();
}

void setTitleColour(QTableView *grid, const QColor &colour)
{
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; border: 1px solid gray; padding: 2px; }")
            .arg(colour.name()));
}

void setTitleGradient(QTableView *grid, const QColor &top, const QColor &bottom, const QColor &border)
{
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                       "stop:0 %1, stop:1 %2); border: 1px solid %3; padding: 2px; }")
            .arg(top.name(), bottom.name(), border.name()));
}

QVariant cellStyle(int role, const QColor &background, std::optional<bool> bold)
{
    if (role == Qt::BackgroundRole)
        return QBrush(background);
    if (role == Qt::FontRole && bold) {
        QFont font;
        font.setBold(*bold);
        return font;
    }
    return {};
}

QPushButton *makeButton(
    QWidget *parent, const char *name, const QString &text, const QRect &place, ButtonCursor cursor)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    if (cursor == ButtonCursor::Hand)
        button->setCursor(Qt::PointingHandCursor);
    noDefaultButton(button);
    return button;
}
