#pragma once

#include "store/dataset.h"
#include "store/schema.h"

#include <QHash>

#include <functional>

class Database;
class Statement;

// One of the four tables of the file, browsed in the order of its selected
// index (by rowid, i.e. as added, with none selected), optionally filtered.
class Table final : public Dataset {
    Q_OBJECT

public:
    Table(Database &database, const TableSchema &schema, const QString &componentName,
        QObject *parent = nullptr);
    ~Table() override;
    Q_DISABLE_COPY_MOVE(Table)

    QString tableName() const { return m_schema.name; }
    const TableSchema &schema() const { return m_schema; }
    bool isReadOnly() const override { return false; }

    // A condition in the statement language with "?" for each value, e.g.
    // setFilter(u"TipoStatus = ?"_s, {u"Enviar"_s}). It applies only while
    // filtering is on; changing it on an open, filtered table re-reads it.
    // A date or time is compared as a bound QDate or QTime: the file holds
    // ISO text, which a regional date written into the condition is not.
    void setFilter(const QString &condition, const QVariantList &values = {});
    QString filter() const { return m_filter; }
    QVariantList filterValues() const { return m_filterValues; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // Selects an index by its name, matched without regard to case; an empty
    // name selects none. Throws for a name the table does not have.
    void setIndexName(const QString &name);
    QString indexName() const { return m_index < 0 ? QString() : m_schema.indexes[m_index].name; }

    // Through a typed update of that one column by rowid.
    void writeCurrentValue(int column, const QVariant &value) override;

    // Asked before every addition; returning false refuses it silently.
    void setBeforeInsert(std::function<bool()> guard) { m_beforeInsert = std::move(guard); }

protected:
    RowList load() override;
    void store(Row &row, bool inserting) override;
    void erase(const Row &row) override;
    bool stillVisible(const Row &row) override;
    bool rowLess(const Row &a, const Row &b) const override;
    bool allowInsert() override { return !m_beforeInsert || m_beforeInsert(); }

private:
    void onTablesChanged(const QStringList &tables);
    void onRowsWritten(const QString &table, const QList<qint64> &rowids);
    std::unique_ptr<Row> readRow(const Statement &st) const;
    QString selectSql(const QString &where) const;
    bool filterActive() const;
    void dropStatements();

    Database &m_database;
    TableSchema m_schema;
    QList<int> m_orderColumns;
    QString m_filter;
    QVariantList m_filterValues;
    bool m_filtered = false;
    int m_index = -1;
    std::function<bool()> m_beforeInsert;
    std::unique_ptr<Statement> m_insert;
    QHash<quint64, std::shared_ptr<Statement>> m_updates; // by the set of changed columns
    std::unique_ptr<Statement> m_delete;
    std::unique_ptr<Statement> m_visible;
    std::unique_ptr<Statement> m_oneRow; // a shown row by rowid, within the filter
};
