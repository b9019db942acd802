#include "spreadsheet/column_set.h"

#include "spreadsheet/sheet_limits.h"

ColumnSet ColumnSet::all()
{
    return firstColumns(SheetLimits::MaxColumns);
}

ColumnSet ColumnSet::firstColumns(int count)
{
    ColumnSet set;
    set.m_firstColumns = qBound(0, count, SheetLimits::MaxColumns);
    return set;
}

ColumnSet ColumnSet::of(const QList<int> &columns)
{
    ColumnSet set;
    for (int col : columns) {
        if (col < 0 || col >= SheetLimits::MaxColumns)
            continue;
        if (col >= set.m_listed.size())
            set.m_listed.resize(col + 1);
        set.m_listed.setBit(col);
    }
    return set;
}
