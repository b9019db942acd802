#pragma once

#include "store/dataset.h"

#include <QMultiHash>

// Case-folded keys of the visible rows for one list of columns, kept up to
// date on every post and delete so that a look-up never walks the rows.
struct Dataset::LocateIndex {
    QList<int> columns;
    QMultiHash<QString, qint64> keys;
};
