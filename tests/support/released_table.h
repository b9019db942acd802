#pragma once

#include "store/data_module.h"
#include "store/schema.h"
#include "store/table.h"

#include <memory>

// CotaLiberadas through the cursor table, in the order of its index
// IndexName and open: what the tests of the cursor layer itself work on.
inline std::unique_ptr<Table> openReleasedTable(TDm &dm)
{
    auto table = std::make_unique<Table>(dm.Banco(), cotaLiberadasSchema(), QStringLiteral("CotaLiberada"));
    table->setIndexName(QStringLiteral("IndexName"));
    table->open();
    return table;
}
