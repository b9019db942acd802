#pragma once

#include <QBitArray>
#include <QList>

// The columns (0-based) a caller reads from a sheet; the reader passes over
// every other cell without decoding its value, so that nothing there can
// stop the read.
class ColumnSet final {
public:
    ColumnSet() = default; // no column: the rows are only walked
    static ColumnSet all();
    // The first count columns, A onwards.
    static ColumnSet firstColumns(int count);
    static ColumnSet of(const QList<int> &columns);

    bool contains(int col) const
    {
        return col < m_firstColumns || (col >= 0 && col < m_listed.size() && m_listed.testBit(col));
    }

private:
    int m_firstColumns = 0;
    QBitArray m_listed;
};
