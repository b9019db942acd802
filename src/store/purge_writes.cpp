#include "store/purge_writes.h"

#include "store/schema.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

int deleteDatedRows(Database &db, DatedRows kind, const QDate &day)
{
    QString table;
    QString column;
    switch (kind) {
    case DatedRows::ReleasedQuotations:
        table = cotaLiberadasSchema().name;
        column = u"DataLiberada"_s;
        break;
    case DatedRows::ReleasedOrders:
        table = pedidosLiberadosSchema().name;
        column = u"DataLiberado"_s;
        break;
    case DatedRows::QuotationItems:
        table = cotacaoForncSchema().name;
        column = u"DATA"_s;
        break;
    case DatedRows::OrderItems:
        table = pedidoForncSchema().name;
        column = u"DATA"_s;
        break;
    }
    // Names from the schema above, the day a bound value.
    Statement purge(db, u"DELETE FROM \"%1\" WHERE date(\"%2\") <= ?"_s.arg(table, column));
    purge.bind(1, day);
    while (purge.step()) { }
    const int deleted = db.changes();
    if (deleted > 0)
        db.announceWritten({ table });
    return deleted;
}
