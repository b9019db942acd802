#pragma once

#include "store/dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>

class QItemSelectionModel;

// A column of a grid over a dataset.
struct ModelColumn {
    QString field; // the dataset's column, any case
    QString title; // empty: the field's display label
    int width = 0; // pixels, a hint for the view
    QString displayFormat; // empty: the field's own
    bool readOnly = false;
    // A column shown only, computed from the row's values in memory (field
    // empty): asked for every role; for the background and the font an
    // invalid answer leaves the cell to the style hook.
    std::function<QVariant(const Dataset &dataset, int row, int role)> compute = {};
};

// A grid model over any dataset: it follows the dataset's rows and current
// row, shows values through the display formats, and stores each edited
// cell at once.
class DatasetModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The most characters a text column stores (an int), for the editors:
    // what is typed must fit what is kept.
    static constexpr int MaxLengthRole = Qt::UserRole + 1;

    // Background, foreground and font of a cell, from values already in
    // memory (dataset.value(row, column)); an invalid QVariant keeps the default.
    using StyleHook = std::function<QVariant(const Dataset &dataset, int row, int column, int role)>;

    // No columns: every field of the dataset, titled by its display label.
    explicit DatasetModel(Dataset &dataset, QList<ModelColumn> columns = {}, QObject *parent = nullptr);
    ~DatasetModel() override;
    Q_DISABLE_COPY_MOVE(DatasetModel)

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Reads a text by the regional settings and stores the column of that
    // row at once. A refusal returns false and reports errorOccurred().
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    Dataset &dataset() const { return m_dataset; }
    const QList<ModelColumn> &columns() const { return m_columns; }
    int fieldOf(int column) const; // the dataset's column index, -1 if none
    void setStyleHook(StyleHook hook) { m_style = std::move(hook); }
    QString lastError() const { return m_lastError; }

    // The dataset's current row, and moving it (posting a row in edit first).
    int currentRow() const { return m_dataset.currentRow(); }
    bool setCurrentRow(int row);
    // Keeps a view's current row and the dataset's current row together;
    // a proxy between this model and the view (a sorting one) is mapped.
    void followSelection(QItemSelectionModel *selection);
    // Every cell of a computed column asks again (the time has moved on).
    void refreshColumn(int column);

Q_SIGNALS:
    void errorOccurred(const QString &message);
    void currentRowChanged(int row);

private:
    void resolveColumns();
    bool validCell(const QModelIndex &index) const;
    void report(const QString &message);
    void onDatasetRowChanged(int row);
    void onDatasetCurrentChanged(int row);

    Dataset &m_dataset;
    QList<ModelColumn> m_columns;
    bool m_allFields;
    QList<int> m_fieldIndex;
    StyleHook m_style;
    QString m_lastError;
    QModelIndex toView(const QModelIndex &index) const;
    QModelIndex fromView(const QModelIndex &index) const;

    QPointer<QItemSelectionModel> m_selection;
    bool m_syncing = false;
    bool m_changing = false; // rows are being added, removed or reset
};
