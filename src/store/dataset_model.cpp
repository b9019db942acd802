#include "store/dataset_model.h"

#include "store/store_error.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>
#include <QSize>

DatasetModel::DatasetModel(Dataset &dataset, QList<ModelColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset)
    , m_columns(std::move(columns))
    , m_allFields(m_columns.isEmpty())
{
    resolveColumns();
    // While rows come and go, a view moves its current row off the rows that
    // go: no choice of the user's, and the dataset is in the middle of the
    // change, so m_changing keeps it from following (see followSelection).
    connect(&m_dataset, &Dataset::aboutToReset, this, [this] {
        m_changing = true;
        beginResetModel();
    });
    connect(&m_dataset, &Dataset::resetDone, this, [this] {
        resolveColumns();
        endResetModel();
        m_changing = false;
    });
    connect(&m_dataset, &Dataset::rowAboutToBeInserted, this, [this](int row) {
        m_changing = true;
        beginInsertRows({}, row, row);
    });
    connect(&m_dataset, &Dataset::rowInserted, this, [this] {
        endInsertRows();
        m_changing = false;
    });
    connect(&m_dataset, &Dataset::rowAboutToBeRemoved, this, [this](int row) {
        m_changing = true;
        beginRemoveRows({}, row, row);
    });
    connect(&m_dataset, &Dataset::rowRemoved, this, [this] {
        endRemoveRows();
        m_changing = false;
    });
    connect(&m_dataset, &Dataset::rowChanged, this, &DatasetModel::onDatasetRowChanged);
    connect(&m_dataset, &Dataset::currentRowChanged, this, &DatasetModel::onDatasetCurrentChanged);
}

DatasetModel::~DatasetModel() = default;

void DatasetModel::resolveColumns()
{
    // A query's columns are known only once it is open: resolve on every reset.
    if (m_allFields) {
        m_columns.clear();
        for (const Field &f : m_dataset.fields())
            m_columns.append({ f.name, QString(), 0, QString(), false });
    }
    m_fieldIndex.clear();
    for (const ModelColumn &c : m_columns)
        m_fieldIndex << m_dataset.fieldIndex(c.field);
}

bool DatasetModel::validCell(const QModelIndex &index) const
{
    // Quietly: views ask for cells of rows a walk with disabled controls removed.
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rowCount()
        && index.column() < columnCount();
}

int DatasetModel::fieldOf(int column) const
{
    return column >= 0 && column < m_fieldIndex.size() ? m_fieldIndex[column] : -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_dataset.rowCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!validCell(index))
        return {};
    const int row = index.row();
    const ModelColumn &column = m_columns[index.column()];
    if (column.compute) {
        const QVariant value = column.compute(m_dataset, row, role);
        const bool styled = role == Qt::BackgroundRole || role == Qt::ForegroundRole || role == Qt::FontRole;
        if (value.isValid() || !styled || !m_style)
            return value;
        return m_style(m_dataset, row, -1, role);
    }
    const int field = fieldOf(index.column());
    if (field < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const ModelColumn &c = m_columns[index.column()];
        if (c.displayFormat.isEmpty())
            return m_dataset.displayText(row, field);
        Field f = m_dataset.field(field);
        f.displayFormat = c.displayFormat;
        return f.displayText(m_dataset.value(row, field));
    }
    case Qt::EditRole:
        return m_dataset.editText(row, field);
    case Qt::TextAlignmentRole: {
        const FieldType type = m_dataset.field(field).type;
        const bool number = type == FieldType::Float || type == FieldType::Integer;
        return QVariant::fromValue(
            Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::FontRole:
        return m_style ? m_style(m_dataset, row, field, role) : QVariant();
    case MaxLengthRole: {
        const Field &f = m_dataset.field(field);
        return f.type == FieldType::Text && f.size > 0 ? QVariant(f.size) : QVariant();
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const ModelColumn &c = m_columns[section];
    switch (role) {
    case Qt::DisplayRole: {
        if (!c.title.isEmpty())
            return c.title;
        const int field = fieldOf(section);
        return field < 0 ? c.field : m_dataset.field(field).displayLabel();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    if (!validCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_columns[index.column()].readOnly && !m_dataset.isReadOnly() && fieldOf(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int field = fieldOf(index.column());
    try {
        if (index.row() != m_dataset.currentRow())
            m_dataset.setCurrentRow(index.row());
        m_dataset.writeCurrentValue(field, value); // a refused value leaves nothing behind
    } catch (const StoreError &e) {
        report(e.message());
        return false;
    }
    m_lastError.clear();
    return true;
}

bool DatasetModel::setCurrentRow(int row)
{
    try {
        m_dataset.setCurrentRow(row);
    } catch (const StoreError &e) {
        report(e.message());
        return false;
    }
    return true;
}

void DatasetModel::report(const QString &message)
{
    m_lastError = message;
    Q_EMIT errorOccurred(message);
}

void DatasetModel::onDatasetRowChanged(int row)
{
    if (row < 0 || row >= rowCount() || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void DatasetModel::refreshColumn(int column)
{
    if (column < 0 || column >= columnCount() || rowCount() == 0)
        return;
    Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
}

QModelIndex DatasetModel::toView(const QModelIndex &index) const
{
    const auto *proxy
        = m_selection ? qobject_cast<const QAbstractProxyModel *>(m_selection->model()) : nullptr;
    return proxy ? proxy->mapFromSource(index) : index;
}

QModelIndex DatasetModel::fromView(const QModelIndex &index) const
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model());
    return proxy ? proxy->mapToSource(index) : index;
}

void DatasetModel::onDatasetCurrentChanged(int row)
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

void DatasetModel::followSelection(QItemSelectionModel *selection)
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
        setCurrentRow(source.row());
        m_syncing = false;
    });
    onDatasetCurrentChanged(m_dataset.currentRow());
}
