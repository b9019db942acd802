#pragma once

#include "store/dataset.h"

#include <QHash>

class Database;
class Statement;

// A statement given as lines, with named parameters (":Status"), opened into
// rows in memory or executed when it returns none. A read-only query refuses
// edits and statements that write.
class Query final : public Dataset {
    Q_OBJECT

public:
    Query(Database &database, const QString &componentName, QObject *parent = nullptr);
    ~Query() override;
    Q_DISABLE_COPY_MOVE(Query)

    void clearSql();
    void addSql(const QString &line);
    void setSql(const QStringList &lines);
    QStringList sql() const { return m_lines; }
    QString sqlText() const { return m_lines.join(u'\n'); }

    // Parameters are named without regard to case; every occurrence of a
    // name takes the one value. A parameter left unset takes the column of the
    // same name in the master's current row (empty without a master).
    // A date or time is given as a QDate or QTime, never as text, so that
    // the statement compares dates ("DataLiberada <= :Data").
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;
    void clearParams() { m_params.clear(); }

    void setReadOnly(bool on) { m_readOnly = on; }
    bool isReadOnly() const override { return m_readOnly; }

    // The query is run again whenever the master's current row changes.
    void setMaster(Dataset *master);
    Dataset *master() const { return m_master; }

    // Declared columns: type, size, label, display format by name. Columns of
    // the result that are not declared take their type from the statement.
    void setFieldDefs(const FieldList &fields) { m_declared = fields; }

    // Runs a statement that returns no rows (UPDATE, DELETE, ...).
    void execSql();
    int rowsAffected() const { return m_rowsAffected; }

protected:
    RowList load() override;
    void columnsLoaded() override;
    bool textsFitSize() const override { return false; }

private:
    void followMaster();
    QVariant valueFor(const QString &name) const;
    Statement prepared() const;

    Database &m_database;
    QStringList m_lines;
    QHash<QString, QVariant> m_params; // by case-folded name
    FieldList m_declared;
    FieldList m_loaded; // columns of the result just read
    Dataset *m_master = nullptr;
    QMetaObject::Connection m_masterMoved;
    QMetaObject::Connection m_masterReset;
    bool m_readOnly = false;
    int m_rowsAffected = 0;
};
