#include "store/released_writes.h"

#include "store/schema.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

// No stored text holds U+FFFE (the ANSI code page has no such character).
const QString EmptyKey = QString(QChar(0xFFFE));

const Field &column(const TableSchema &table, const QString &name)
{
    return table.columns[table.columnIndex(name)];
}

// The row a bookmark named, or the first row whose key matches ignoring
// case (full case folding) when it is gone; -1 when there is none.
qint64 rowOf(
    Database &db, const TableSchema &table, const QString &keyColumn, qint64 rowid, const QString &key)
{
    Statement exists(db, u"SELECT 1 FROM \"%1\" WHERE rowid = ?"_s.arg(table.name));
    exists.bind(1, rowid);
    if (exists.step())
        return rowid;
    const QString folded = key.toCaseFolded();
    Statement all(db, u"SELECT rowid, \"%1\" FROM \"%2\" ORDER BY rowid"_s.arg(keyColumn, table.name));
    while (all.step()) {
        if (all.columnText(1).toCaseFolded() == folded)
            return all.columnInt(0);
    }
    return -1;
}

// Inserts a row of every column in the order of the file, each stored as
// its column keeps it; a required column left empty refuses the row.
qint64 insertRow(Database &db, const TableSchema &table, const QHash<QString, QVariant> &values)
{
    QStringList names;
    QStringList marks;
    for (const Field &f : table.columns) {
        names << u'"' + f.name + u'"';
        marks << u"?"_s;
    }
    Statement insert(db,
        u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(table.name, names.join(u", "_s), marks.join(u", "_s)));
    for (int c = 0; c < table.columns.size(); ++c) {
        const Field &f = table.columns[c];
        insert.bind(c + 1, f.storable(values.value(f.name)));
    }
    insert.step();
    return db.lastInsertId();
}

} // namespace

qint64 addReleasedQuotation(Database &db, const QString &cotacao, const QString &tipoStatus,
    QDate dataValidade, QTime ateHora, QDate dataLiberada)
{
    return insertRow(db, cotaLiberadasSchema(),
        { { u"Cotacao"_s, cotacao }, { u"TipoStatus"_s, tipoStatus }, { u"DataValidade"_s, dataValidade },
            { u"AteHora"_s, ateHora }, { u"DataLiberada"_s, dataLiberada } });
}

qint64 addReleasedOrder(
    Database &db, const QString &pedido, const QString &tipoStatus, QDate dataLiberado, QTime horaLib)
{
    return insertRow(db, pedidosLiberadosSchema(),
        { { u"Pedido"_s, pedido }, { u"TipoStatus"_s, tipoStatus }, { u"DataLiberado"_s, dataLiberado },
            { u"HoraLib"_s, horaLib } });
}

ReleasedKeys::ReleasedKeys(Database &db, const TableSchema &table, const QString &keyColumn)
    : m_table(table)
    , m_column(table.columnIndex(keyColumn))
{
    Statement all(db, u"SELECT rowid, \"%1\" FROM \"%2\" ORDER BY rowid"_s.arg(keyColumn, table.name));
    while (all.step()) {
        const QString key = all.columnIsNull(1) ? EmptyKey : all.columnText(1).toCaseFolded();
        if (!m_rows.contains(key)) // the first row of a key is the one found
            m_rows.insert(key, all.columnInt(0));
    }
}

QString ReleasedKeys::folded(const QString &key) const
{
    // An empty key is stored as NULL, and finds a row whose key is NULL.
    const QVariant stored = m_table.columns[m_column].coerce(key);
    return stored.isValid() ? stored.toString().toCaseFolded() : EmptyKey;
}

qint64 ReleasedKeys::find(const QString &key) const
{
    return m_rows.value(folded(key), -1);
}

void ReleasedKeys::add(const QString &key, qint64 rowid)
{
    const QString k = folded(key);
    if (!m_rows.contains(k))
        m_rows.insert(k, rowid);
}

int setQuotationStatus(Database &db, const QString &cotacao, const QString &status)
{
    Statement update(db, u"UPDATE CotaLiberadas SET TipoStatus = ? WHERE Cotacao = ?"_s);
    update.bind(1, column(cotaLiberadasSchema(), u"TipoStatus"_s).coerce(status));
    update.bind(2, cotacao);
    update.step();
    const int changed = db.changes();
    db.announceWritten({ cotaLiberadasSchema().name });
    return changed;
}

bool setQuotationStatusAt(Database &db, qint64 rowid, const QString &cotacao, const QString &status)
{
    const qint64 row = rowOf(db, cotaLiberadasSchema(), u"Cotacao"_s, rowid, cotacao);
    if (row < 0)
        return false;
    Statement update(db, u"UPDATE CotaLiberadas SET TipoStatus = ? WHERE rowid = ?"_s);
    update.bind(1, column(cotaLiberadasSchema(), u"TipoStatus"_s).coerce(status));
    update.bind(2, row);
    update.step();
    db.announceWritten({ cotaLiberadasSchema().name });
    return true;
}

bool setOrderDownloadedAt(
    Database &db, qint64 rowid, const QString &pedido, const QString &status, const QDateTime &at)
{
    const TableSchema &table = pedidosLiberadosSchema();
    const qint64 row = rowOf(db, table, u"Pedido"_s, rowid, pedido);
    if (row < 0)
        return false;
    Statement update(
        db, u"UPDATE PedidosLiberados SET TipoStatus = ?, DataBaixado = ?, HoraBaixa = ? WHERE rowid = ?"_s);
    update.bind(1, column(table, u"TipoStatus"_s).coerce(status));
    update.bind(2, column(table, u"DataBaixado"_s).coerce(at.date()));
    update.bind(3, column(table, u"HoraBaixa"_s).coerce(at.time()));
    update.bind(4, row);
    update.step();
    db.announceWritten({ table.name });
    return true;
}

bool setOrderStatusAt(Database &db, qint64 rowid, const QString &status)
{
    Statement update(db, u"UPDATE PedidosLiberados SET TipoStatus = ? WHERE rowid = ?"_s);
    update.bind(1, column(pedidosLiberadosSchema(), u"TipoStatus"_s).coerce(status));
    update.bind(2, rowid);
    update.step();
    const bool changed = db.changes() > 0;
    db.announceWritten({ pedidosLiberadosSchema().name });
    return changed;
}
