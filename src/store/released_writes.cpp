#include "store/released_writes.h"

#include "store/schema.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

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
