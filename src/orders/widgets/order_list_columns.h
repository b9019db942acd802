#pragma once

#include "store/dataset_model.h"

#include <array>

// The columns of both order lists, Pedido to HoraBaixa, at the given widths;
// dates and times in the regional formats.
QList<ModelColumn> orderListColumns(const std::array<int, 6> &widths);
