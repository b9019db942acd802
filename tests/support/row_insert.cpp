#include "support/row_insert.h"

#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"

using namespace Qt::StringLiterals;

qint64 insertRow(Database &db, const TableSchema &table, const QList<std::pair<QString, QVariant>> &values)
{
    QStringList columns;
    QStringList marks;
    QVariantList stored;
    for (const auto &[name, value] : values) {
        const int column = table.columnIndex(name);
        if (column < 0)
            throw StoreError(u"%1 has no column %2"_s.arg(table.name, name));
        const QVariant v = table.columns[column].storable(value);
        if (!v.isValid())
            continue;
        columns << u'"' + table.columns[column].name + u'"';
        marks << u"?"_s;
        stored << v;
    }
    for (const Field &f : table.columns) {
        if (f.required && !columns.contains(u'"' + f.name + u'"'))
            f.requireValue(QVariant());
    }
    Statement insert(db,
        u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(table.name, columns.join(u", "_s), marks.join(u", "_s)));
    insert.bindAll(stored);
    insert.step();
    const qint64 rowid = db.lastInsertId();
    db.announceRowsWritten(table.name, { rowid });
    return rowid;
}

void execAnnounced(Database &db, const QString &sql, const QVariantList &values, const QStringList &tables)
{
    Statement st(db, sql);
    st.bindAll(values);
    while (st.step()) { }
    db.announceWritten(tables);
}
