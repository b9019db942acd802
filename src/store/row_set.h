#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

class Database;

// The rows one grid shows, in memory, with the current row that the windows
// share: what one window leaves (the rows chosen, the current row) is what
// the next one finds. The rows are read by a typed read; the set never
// writes. It follows the writes of the program's own statements:
// Database::rowsWritten makes it read those rows alone again by rowid,
// Database::tablesChanged (and a rollback) the whole set, and closing the
// database empties it.
class RowSetBase : public QObject {
    Q_OBJECT

public:
    ~RowSetBase() override;
    Q_DISABLE_COPY_MOVE(RowSetBase)

    // The table whose rowids the rows carry (empty for a set of a join or of
    // aggregates, which is read again whole when one of its tables changes).
    const QString &tableName() const { return m_table; }

    bool isOpen() const { return m_open; }
    int rowCount() const { return m_open ? int(m_ids.size()) : 0; }
    bool isEmpty() const { return rowCount() == 0; }

    // Reads every row; the current row becomes the first (or none).
    void open();
    // Reads every row again; the current row stays on the same row when it
    // is still there, else the first. Opens a closed set.
    void reload();
    void close();

    int currentRow() const { return m_current; } // -1 when empty or closed
    // Moves the current row (clamped to the rows there are).
    void setCurrentRow(int row);
    qint64 currentRowId() const { return m_current < 0 ? -1 : m_ids[size_t(m_current)]; }
    qint64 rowIdAt(int row) const;
    // Makes the row with this id current; false when it is not shown.
    bool gotoRowId(qint64 id);
    int positionOfId(qint64 id) const;

Q_SIGNALS:
    void aboutToReset();
    void resetDone();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);

protected:
    // watched: the tables whose changes make the whole set read again.
    RowSetBase(Database &database, QString table, QStringList watched, QObject *parent);

    Database &database() const { return m_database; }

    // Storage of the typed rows, kept in step with the ids by this class.
    virtual void readAllRows() = 0; // into the staging rows, in order
    virtual qint64 stagedId(size_t i) const = 0;
    virtual size_t stagedCount() const = 0;
    virtual void adoptStaged() = 0; // the staging rows become the rows
    // The rows with these ids as stored now, within the set's choice; an id
    // missing from the answer was deleted or left the choice. Never more
    // than a few hundred ids (bind them: "rowid IN (?, ?, ...)").
    virtual void readRowsById(const QList<qint64> &ids) = 0; // into the staging rows
    virtual void replaceAt(int pos, size_t staged) = 0;
    virtual void insertAt(int pos, size_t staged) = 0;
    virtual void removeAt(int pos) = 0;
    // Where staged row i belongs among the rows.
    virtual int sortedPosition(size_t staged) const = 0;
    // Whether staged row i may take the place of the row at pos.
    virtual bool fitsAt(int pos, size_t staged) const = 0;

private:
    static constexpr qsizetype ManyRows = 256;

    void readAll(bool keepCurrent);
    void onRowsWritten(const QString &table, const QList<qint64> &rowids);
    void onTablesChanged(const QStringList &tables);
    void moveCurrent(int row, bool force = false);
    // settle: a current row that goes passes to the next; else none is current.
    void removeRow(int pos, bool settle);

    Database &m_database;
    QString m_table;
    QStringList m_watched;
    std::vector<qint64> m_ids;
    int m_current = -1;
    bool m_open = false;
};

// A set of rows of one type. Row has a member `qint64 rowid`: the table's
// rowid, or for a set of a join its position in the answer.
template <class Row> class RowSet final : public RowSetBase {
public:
    // Reads the rows of the set in their order: all of them when ids is
    // null, else only those with these rowids that the set's choice keeps.
    using Reader = std::function<std::vector<Row>(Database &database, const QList<qint64> *ids)>;
    // The set's order, for a row read again that may have moved.
    using Less = std::function<bool(const Row &a, const Row &b)>;

    RowSet(Database &database, QString table, QStringList watched, Reader reader, Less less,
        QObject *parent = nullptr)
        : RowSetBase(database, std::move(table), std::move(watched), parent)
        , m_reader(std::move(reader))
        , m_less(std::move(less))
    {
    }

    // A new choice of rows (a filter): takes effect at the next open/reload.
    void setReader(Reader reader) { m_reader = std::move(reader); }

    const std::vector<Row> &rows() const { return m_rows; }
    const Row &at(int row) const { return m_rows.at(size_t(row)); }
    const Row *current() const { return currentRow() < 0 ? nullptr : &m_rows[size_t(currentRow())]; }

    // The position of the first row that matches, -1 when none does.
    template <class Pred> int find(Pred &&matches) const
    {
        const auto it = std::find_if(m_rows.begin(), m_rows.end(), std::forward<Pred>(matches));
        return it == m_rows.end() ? -1 : int(it - m_rows.begin());
    }
    // Makes the first row that matches current; false (nothing moves) when none does.
    template <class Pred> bool locate(Pred &&matches)
    {
        const int at = find(std::forward<Pred>(matches));
        if (at >= 0)
            setCurrentRow(at);
        return at >= 0;
    }

protected:
    void readAllRows() override { m_staged = m_reader(database(), nullptr); }
    qint64 stagedId(size_t i) const override { return m_staged[i].rowid; }
    size_t stagedCount() const override { return m_staged.size(); }
    void adoptStaged() override
    {
        m_rows = std::move(m_staged);
        m_staged.clear();
    }
    void readRowsById(const QList<qint64> &ids) override { m_staged = m_reader(database(), &ids); }
    void replaceAt(int pos, size_t staged) override { m_rows[size_t(pos)] = std::move(m_staged[staged]); }
    void insertAt(int pos, size_t staged) override
    {
        m_rows.insert(m_rows.begin() + pos, std::move(m_staged[staged]));
    }
    void removeAt(int pos) override { m_rows.erase(m_rows.begin() + pos); }
    int sortedPosition(size_t staged) const override
    {
        const Row &row = m_staged[staged];
        const auto it = std::partition_point(
            m_rows.begin(), m_rows.end(), [&](const Row &other) { return before(other, row); });
        return int(it - m_rows.begin());
    }
    bool fitsAt(int pos, size_t staged) const override
    {
        const Row &row = m_staged[staged];
        return (pos == 0 || !before(row, m_rows[size_t(pos - 1)]))
            && (pos + 1 == int(m_rows.size()) || !before(m_rows[size_t(pos + 1)], row));
    }

private:
    // Equal rows keep the order of their ids, as a full read gives them.
    bool before(const Row &a, const Row &b) const
    {
        return m_less(a, b) || (!m_less(b, a) && a.rowid < b.rowid);
    }

    Reader m_reader;
    Less m_less;
    std::vector<Row> m_rows;
    std::vector<Row> m_staged;
};
