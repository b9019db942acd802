#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariantList>

#include <array>

// The records of the two order scripts, read into typed values by the user's
// regional settings. A value that does not convert throws ConversionError.

// "getpedlib.php": pedido|status|liberado|hora
struct ReleasedOrderLine {
    QString pedido;
    QString tipoStatus;
    QDate dataLiberado;
    QTime horaLib;
};

inline constexpr int ReleasedOrderFields = 4;
// The order number without surrounding blanks, read before the rest so that
// a known order is never converted.
QString releasedPedido(const QStringList &fields);
ReleasedOrderLine readReleasedOrder(const QStringList &fields);

// "getpedforn.php": the 20 positions of one ordered item. Positions 0 to 3
// (CONTATO, PEDIDO, DATA, PRODUTO) are the item's key and are written only
// when the row is new.
inline constexpr int OrderItemPositions = 20;
inline constexpr int OrderItemKeyPositions = 4;

// The PedidoFornc column of each position.
const std::array<QString, OrderItemPositions> &orderItemColumns();

// The converted value of each position: texts as received, the date, and
// the quantities and price, each of which must be a number (empty is not).
QVariantList readOrderItem(const QStringList &fields);
