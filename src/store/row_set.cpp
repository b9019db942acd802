#include "store/row_set.h"

#include "store/sqlcipher.h"

#include <QSet>

RowSetBase::RowSetBase(Database &database, QString table, QStringList watched, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_table(std::move(table))
    , m_watched(std::move(watched))
{
    if (!m_table.isEmpty() && !m_watched.contains(m_table, Qt::CaseInsensitive))
        m_watched << m_table;
    connect(&m_database, &Database::tablesChanged, this, &RowSetBase::onTablesChanged);
    connect(&m_database, &Database::rowsWritten, this, &RowSetBase::onRowsWritten);
    connect(&m_database, &Database::closing, this, &RowSetBase::close);
}

RowSetBase::~RowSetBase() = default;

void RowSetBase::open()
{
    readAll(false);
}

void RowSetBase::reload()
{
    readAll(m_open);
}

void RowSetBase::readAll(bool keepCurrent)
{
    // Read before telling anyone: a failed read leaves the rows shown as they were.
    readAllRows();
    const qint64 keep = keepCurrent ? currentRowId() : -1;
    Q_EMIT aboutToReset();
    m_ids.clear();
    m_ids.reserve(stagedCount());
    for (size_t i = 0; i < stagedCount(); ++i)
        m_ids.push_back(stagedId(i));
    adoptStaged();
    m_open = true;
    const int at = keep >= 0 ? positionOfId(keep) : -1;
    m_current = at >= 0 ? at : (m_ids.empty() ? -1 : 0);
    Q_EMIT resetDone();
    Q_EMIT currentRowChanged(m_current);
}

void RowSetBase::close()
{
    if (!m_open)
        return;
    Q_EMIT aboutToReset();
    m_ids.clear();
    m_open = false;
    m_current = -1;
    Q_EMIT resetDone();
    Q_EMIT currentRowChanged(-1);
}

qint64 RowSetBase::rowIdAt(int row) const
{
    return row >= 0 && row < rowCount() ? m_ids[size_t(row)] : -1;
}

int RowSetBase::positionOfId(qint64 id) const
{
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    return it == m_ids.end() ? -1 : int(it - m_ids.begin());
}

void RowSetBase::setCurrentRow(int row)
{
    const int last = rowCount() - 1;
    moveCurrent(last < 0 ? -1 : std::clamp(row, 0, last));
}

bool RowSetBase::gotoRowId(qint64 id)
{
    const int at = positionOfId(id);
    if (at < 0)
        return false;
    moveCurrent(at);
    return true;
}

void RowSetBase::moveCurrent(int row, bool force)
{
    if (row == m_current && !force)
        return;
    m_current = row;
    Q_EMIT currentRowChanged(row);
}

void RowSetBase::onTablesChanged(const QStringList &tables)
{
    if (!m_open)
        return;
    for (const QString &name : tables) {
        if (m_watched.contains(name, Qt::CaseInsensitive)) {
            reload();
            return;
        }
    }
}

void RowSetBase::onRowsWritten(const QString &table, const QList<qint64> &rowids)
{
    if (!m_open || !m_watched.contains(table, Qt::CaseInsensitive))
        return;
    // A set of a join has not the table's rows; past a few hundred rows one
    // read of the whole set is cheaper than a look-up per row.
    if (m_table.compare(table, Qt::CaseInsensitive) != 0 || rowids.size() > ManyRows) {
        reload();
        return;
    }
    readRowsById(rowids);
    QSet<qint64> found;
    for (size_t i = 0; i < stagedCount(); ++i) {
        const qint64 id = stagedId(i);
        found.insert(id);
        const int pos = positionOfId(id);
        if (pos >= 0 && fitsAt(pos, i)) {
            replaceAt(pos, i);
            Q_EMIT rowChanged(pos);
            continue;
        }
        // New, or moved within the order: out of its old place, into its new one.
        const bool wasCurrent = pos >= 0 && pos == m_current;
        if (pos >= 0)
            removeRow(pos, false);
        const int at = sortedPosition(i);
        Q_EMIT rowAboutToBeInserted(at);
        insertAt(at, i);
        m_ids.insert(m_ids.begin() + at, id);
        if (m_current >= at)
            ++m_current;
        Q_EMIT rowInserted(at);
        if (wasCurrent || m_current < 0)
            moveCurrent(at, true);
    }
    for (qint64 id : rowids) {
        const int pos = found.contains(id) ? -1 : positionOfId(id);
        if (pos >= 0)
            removeRow(pos, true);
    }
}

void RowSetBase::removeRow(int pos, bool settle)
{
    const bool wasCurrent = pos == m_current;
    Q_EMIT rowAboutToBeRemoved(pos);
    removeAt(pos);
    m_ids.erase(m_ids.begin() + pos);
    if (m_current > pos)
        --m_current;
    Q_EMIT rowRemoved(pos);
    if (!wasCurrent)
        return;
    if (!settle) {
        m_current = -1; // the row comes back at once and takes it again
        return;
    }
    // The row after the one that went becomes current (the last when it was last).
    const int last = int(m_ids.size()) - 1;
    moveCurrent(last < 0 ? -1 : std::min(pos, last), true);
}
