#include "store/order_writes.h"

#include "store/schema.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

int deleteOrderItems(Database &db, const QString &pedido)
{
    Statement remove(db, u"DELETE FROM PedidoFornc WHERE Pedido = ?"_s);
    remove.bind(1, pedido);
    while (remove.step()) { }
    const int deleted = db.changes();
    if (deleted > 0)
        db.announceWritten({ pedidoForncSchema().name });
    return deleted;
}
