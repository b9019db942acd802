#include "ui/row_model.h"

#include "common/regional.h"
#include "store/store_error.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>

RowModel::RowModel(RowSetBase &rows, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(rows)
    , m_columns(std::move(columns))
{
    // While rows come and go, a view moves its current row off the rows that
    // go: no choice of the user's, and the set is in the middle of the
    // change, so m_changing keeps it from following (see followSelection).
    connect(&m_rows, &RowSetBase::aboutToReset, this, [this] {
        m_changing = true;
        beginResetModel();
    });
    connect(&m_rows, &RowSetBase::resetDone, this, [this] {
        endResetModel();
        m_changing = false;
    });
    connect(&m_rows, &RowSetBase::rowAboutToBeInserted, this, [this](int row) {
        m_changing = true;
        beginInsertRows({}, row, row);
    });
    connect(&m_rows, &RowSetBase::rowInserted, this, [this] {
        endInsertRows();
        m_changing = false;
    });
    connect(&m_rows, &RowSetBase::rowAboutToBeRemoved, this, [this](int row) {
        m_changing = true;
        beginRemoveRows({}, row, row);
    });
    connect(&m_rows, &RowSetBase::rowRemoved, this, [this] {
        endRemoveRows();
        m_changing = false;
    });
    connect(&m_rows, &RowSetBase::rowChanged, this, &RowModel::onRowChanged);
    connect(&m_rows, &RowSetBase::currentRowChanged, this, &RowModel::onCurrentChanged);
}

RowModel::~RowModel() = default;

bool RowModel::validCell(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rowCount()
        && index.column() < columnCount();
}

int RowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int RowModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RowModel::data(const QModelIndex &index, int role) const
{
    if (!validCell(index))
        return {};
    const GridColumn &column = m_columns[index.column()];
    if (role == MaxLengthRole)
        return column.maxLength > 0 ? QVariant(column.maxLength) : QVariant();
    const QVariant answer = column.data ? column.data(index.row(), role) : QVariant();
    if (answer.isValid() || role != Qt::TextAlignmentRole)
        return answer;
    return QVariant::fromValue(
        Qt::Alignment(column.number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_columns[section].title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

Qt::ItemFlags RowModel::flags(const QModelIndex &index) const
{
    if (!validCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_columns[index.column()].write)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RowModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (index.row() != m_rows.currentRow())
            m_rows.setCurrentRow(index.row());
        m_columns[index.column()].write(index.row(), value); // a refused value leaves nothing behind
    } catch (const StoreError &e) {
        report(e.message());
        return false;
    } catch (const ConversionError &e) {
        report(e.message());
        return false;
    }
    m_lastError.clear();
    return true;
}

void RowModel::report(const QString &message)
{
    m_lastError = message;
    Q_EMIT errorOccurred(message);
}

void RowModel::onRowChanged(int row)
{
    if (row < 0 || row >= rowCount() || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void RowModel::refreshColumn(int column)
{
    if (column < 0 || column >= columnCount() || rowCount() == 0)
        return;
    Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
}

QModelIndex RowModel::toView(const QModelIndex &index) const
{
    const auto *proxy
        = m_selection ? qobject_cast<const QAbstractProxyModel *>(m_selection->model()) : nullptr;
    return proxy ? proxy->mapFromSource(index) : index;
}

QModelIndex RowModel::fromView(const QModelIndex &index) const
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model());
    return proxy ? proxy->mapToSource(index) : index;
}

void RowModel::onCurrentChanged(int row)
{
    Q_EMIT currentRowChanged(row);
    if (!m_selection || m_syncing || row < 0 || row >= rowCount())
        return;
    m_syncing = true;
    const int column = std::max(0, fromView(m_selection->currentIndex()).column());
    m_selection->setCurrentIndex(toView(index(row, std::min(column, columnCount() - 1))),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
}

void RowModel::followSelection(QItemSelectionModel *selection)
{
    if (m_selection)
        disconnect(m_selection, nullptr, this, nullptr);
    m_selection = selection;
    if (!m_selection)
        return;
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_syncing || m_changing)
            return;
        const QModelIndex source = fromView(current);
        if (!source.isValid())
            return;
        m_syncing = true;
        m_rows.setCurrentRow(source.row());
        m_syncing = false;
    });
    onCurrentChanged(m_rows.currentRow());
}
