#pragma once

#include "store/row_set.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>

class QItemSelectionModel;

// One column of a grid over a row set. Its functions take the position of
// the row in the set; rowCells() below turns a function of a typed row into one.
struct GridColumn {
    QString title;
    int width = 0; // pixels, a hint for the view
    // The cell's answer for a role: Qt::DisplayRole, Qt::EditRole, Qt::UserRole
    // (the value a click on the title sorts by), and the style roles
    // (background, foreground, font: from the row's values in memory). An
    // invalid answer leaves the role to the model's defaults.
    std::function<QVariant(int row, int role)> data;
    // Stores an edited text of the row at once (a typed write by rowid).
    // Throws StoreError or ConversionError when the text is refused; nothing
    // is written then. Empty: the column is shown only.
    std::function<void(int row, const QVariant &value)> write = {};
    int maxLength = 0; // the most characters a text column stores; 0: no limit
    bool number = false; // aligned to the right
};

// A typed row's answer as a column's data function.
template <class Row>
std::function<QVariant(int, int)> rowCells(
    const RowSet<Row> &rows, std::function<QVariant(const Row &, int)> cell)
{
    return [&rows, cell = std::move(cell)](int row, int role) { return cell(rows.at(row), role); };
}

// A grid model over a row set: it follows the set's rows and current row and
// stores each edited cell at once through the column's write.
class RowModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The most characters a text column stores (an int), for the editors:
    // what is typed must fit what is kept.
    static constexpr int MaxLengthRole = Qt::UserRole + 1;

    RowModel(RowSetBase &rows, QList<GridColumn> columns, QObject *parent = nullptr);
    ~RowModel() override;
    Q_DISABLE_COPY_MOVE(RowModel)

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Stores the column of that row at once. A refusal returns false and
    // reports errorOccurred() with the message.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    RowSetBase &rowSet() const { return m_rows; }
    const QList<GridColumn> &columns() const { return m_columns; }
    QString lastError() const { return m_lastError; }

    // The set's current row, and moving it.
    int currentRow() const { return m_rows.currentRow(); }
    void setCurrentRow(int row) { m_rows.setCurrentRow(row); }
    // Keeps a view's current row and the set's current row together; a
    // proxy between this model and the view (a sorting one) is mapped.
    void followSelection(QItemSelectionModel *selection);
    // Every cell of a column asks again (the time has moved on).
    void refreshColumn(int column);

Q_SIGNALS:
    void errorOccurred(const QString &message);
    void currentRowChanged(int row);

private:
    bool validCell(const QModelIndex &index) const;
    void report(const QString &message);
    void onRowChanged(int row);
    void onCurrentChanged(int row);
    QModelIndex toView(const QModelIndex &index) const;
    QModelIndex fromView(const QModelIndex &index) const;

    RowSetBase &m_rows;
    QList<GridColumn> m_columns;
    QString m_lastError;
    QPointer<QItemSelectionModel> m_selection;
    bool m_syncing = false;
    bool m_changing = false; // rows are being added, removed or reset
};
