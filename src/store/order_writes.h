#pragma once

#include <QString>

class Database;

// Deletes every item of one order (PEDIDO exactly as given: a quote inside it
// is part of the number) and tells the open sets of PedidoFornc. Returns the
// rows deleted.
int deleteOrderItems(Database &db, const QString &pedido);
