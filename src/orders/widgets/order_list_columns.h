#pragma once

#include "store/order_rows.h"
#include "ui/row_model.h"

#include <array>

// The columns of both order lists, Pedido to HoraBaixa, at the given widths;
// dates and times in the regional formats.
QList<GridColumn> orderListColumns(const RowSet<ReleasedOrderRow> &orders, const std::array<int, 6> &widths);
