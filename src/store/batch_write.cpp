#include "store/batch_write.h"

#include "store/sqlcipher.h"

#include "store/schema.h"
#include "store/stored_value.h"

#include <QHash>
#include <QScopeGuard>

#include <memory>
#include <unordered_map>

using namespace Qt::StringLiterals;

void keepWhatWasStored(std::optional<Transaction> &tx)
{
    if (!tx)
        return;
    try {
        tx->commit();
    } catch (const std::exception &) {
        // The failure already under way is the one the user sees.
    }
}

void writeInOneTransaction(Database &db, const std::function<void()> &writes)
{
    std::optional<Transaction> tx;
    try {
        tx.emplace(db);
        writes();
        tx->commit();
    } catch (...) {
        keepWhatWasStored(tx);
        throw;
    }
}

namespace {

// The case-blind key of a row: texts case-folded (full Unicode folding, not
// the engine's ASCII-only NOCASE), dates by day, parts joined by U+FFFF and
// an empty part as U+FFFE, neither of which a stored text can hold.
void appendKeyPart(QString &key, FieldType type, const QVariant &value)
{
    if (!key.isEmpty())
        key += QChar(0xFFFF);
    if (!value.isValid() || value.isNull()) {
        key += QChar(0xFFFE);
        return;
    }
    switch (type) {
    case FieldType::Text:
        key += value.toString().toCaseFolded();
        break;
    case FieldType::Date:
        key += QString::number(value.toDate().toJulianDay());
        break;
    case FieldType::Time:
        key += QString::number(value.toTime().msecsSinceStartOfDay());
        break;
    case FieldType::Float:
    case FieldType::Integer:
        key += QString::number(value.toDouble(), 'g', 17);
        break;
    }
}

// Whether a column of the current result row holds the value, compared as
// the stored value read back would be, without making a string of it.
bool sameAsStored(const Statement &st, int column, FieldType type, const QVariant &value)
{
    const bool storedNull = st.columnIsNull(column);
    if (!value.isValid())
        return storedNull;
    if (storedNull)
        return false;
    switch (type) {
    case FieldType::Text:
        if (value.typeId() == QMetaType::QString) {
            const QByteArrayView utf8 = st.columnUtf8(column);
            return QAnyStringView::equal(
                QUtf8StringView(utf8.data(), utf8.size()), *static_cast<const QString *>(value.constData()));
        }
        break;
    case FieldType::Float:
        if (value.typeId() == QMetaType::Double)
            return st.columnDouble(column) == *static_cast<const double *>(value.constData());
        break;
    default:
        break;
    }
    return storedValue(st, column, type) == value;
}

QString sqlName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

// The writes of one download into one item table: an insert of every column
// and an update of the columns a line rewrites, prepared once, and the keys
// of the rows already stored, read once.
class ItemRowWriter final {
public:
    ItemRowWriter(Database &db, const TableSchema &table, const ItemLineLayout &layout)
        : m_db(db)
        , m_table(table)
    {
        for (const QString &name : layout.columns)
            m_column << (name.isEmpty() ? -1 : table.columnIndex(name));
        for (int i = 0; i < layout.keyPositions; ++i)
            m_keyColumns << m_column[i];
        QStringList names;
        QStringList marks;
        for (const Field &f : table.columns) {
            names << sqlName(f.name);
            marks << u"?"_s;
        }
        m_insert.emplace(db,
            u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
                sqlName(table.name), names.join(u", "_s), marks.join(u", "_s)));
        QStringList updated;
        for (qsizetype i = layout.firstUpdated; i < m_column.size(); ++i) {
            if (m_column[i] >= 0) {
                updated << sqlName(table.columns[m_column[i]].name);
                m_updated << m_column[i];
            }
        }
        m_current.emplace(
            db, u"SELECT %1 FROM %2 WHERE rowid = ?"_s.arg(updated.join(u", "_s), sqlName(table.name)));
        loadKeys();
    }

    // Stores one line's values; false when canAppend refused a new row.
    bool write(const QVariantList &values, const std::function<bool()> &canAppend)
    {
        QVariantList row(m_table.columns.size());
        const qsizetype count = qMin(m_column.size(), values.size());
        for (qsizetype i = 0; i < count; ++i) {
            if (m_column[i] >= 0)
                row[m_column[i]] = m_table.columns[m_column[i]].coerce(values.at(i));
        }
        const QString key = keyOf(row);
        const auto found = m_keys.constFind(key);
        if (found != m_keys.cend()) {
            requireValues(row, m_updated);
            update(*found, row);
            return true;
        }
        if (canAppend && !canAppend())
            return false;
        QList<int> all;
        for (int c = 0; c < m_table.columns.size(); ++c)
            all << c;
        requireValues(row, all);
        for (int c = 0; c < row.size(); ++c)
            m_insert->bind(c + 1, row[c]);
        m_insert->step();
        m_insert->reset();
        m_keys.insert(key, m_db.lastInsertId());
        return true;
    }

private:
    // Writes only the columns whose value changes: an index is touched only
    // when one of its columns does, and a line sent again unchanged costs a
    // read.
    void update(qint64 rowid, const QVariantList &row)
    {
        m_current->bind(1, rowid);
        quint64 mask = 0;
        if (m_current->step()) {
            for (int i = 0; i < m_updated.size(); ++i) {
                const int c = m_updated[i];
                if (!sameAsStored(*m_current, i, m_table.columns[c].type, row[c]))
                    mask |= quint64(1) << i;
            }
        }
        m_current->reset();
        if (mask == 0)
            return;
        auto it = m_updates.find(mask);
        if (it == m_updates.end()) {
            QStringList sets;
            for (int i = 0; i < m_updated.size(); ++i) {
                if (mask & (quint64(1) << i))
                    sets << sqlName(m_table.columns[m_updated[i]].name) + u" = ?"_s;
            }
            it = m_updates
                     .try_emplace(mask,
                         std::make_unique<Statement>(m_db,
                             u"UPDATE %1 SET %2 WHERE rowid = ?"_s.arg(
                                 sqlName(m_table.name), sets.join(u", "_s))))
                     .first;
        }
        Statement &statement = *it->second;
        int slot = 0;
        for (int i = 0; i < m_updated.size(); ++i) {
            if (mask & (quint64(1) << i))
                statement.bind(++slot, row[m_updated[i]]);
        }
        statement.bind(slot + 1, rowid);
        statement.step();
        statement.reset();
    }

    QString keyOf(const QVariantList &row) const
    {
        QString key;
        key.reserve(64);
        for (int c : m_keyColumns)
            appendKeyPart(key, m_table.columns[c].type, row[c]);
        return key;
    }

    // A required column left empty refuses the row, as a post does.
    void requireValues(const QVariantList &row, const QList<int> &columns) const
    {
        for (int c : columns)
            m_table.columns[c].requireValue(row[c]);
    }

    void loadKeys()
    {
        QStringList names;
        for (int c : std::as_const(m_keyColumns))
            names << sqlName(m_table.columns[c].name);
        Statement st(m_db,
            u"SELECT rowid, %1 FROM %2 ORDER BY rowid"_s.arg(names.join(u", "_s), sqlName(m_table.name)));
        QVariantList row(m_table.columns.size());
        while (st.step()) {
            for (int i = 0; i < m_keyColumns.size(); ++i)
                row[m_keyColumns[i]] = storedValue(st, i + 1, m_table.columns[m_keyColumns[i]].type);
            m_keys.insert(keyOf(row), st.columnInt(0)); // keeps the lowest rowid of a key
        }
    }

    Database &m_db;
    const TableSchema &m_table;
    QList<int> m_column; // per position, -1 where nothing is stored
    QList<int> m_keyColumns;
    QList<int> m_updated; // the columns an update writes, in its order
    std::optional<Statement> m_insert;
    std::optional<Statement> m_current; // the updated columns of one row
    std::unordered_map<quint64, std::unique_ptr<Statement>> m_updates; // by the columns they write
    QHash<QString, qint64> m_keys;
};

} // namespace

void storeItemLines(Database &db, const TableSchema &table, const ItemLineLayout &layout,
    const QStringList &lines, const ItemLineReader &read, const std::function<void()> &finish,
    const std::function<bool()> &canAppend)
{
    const auto announce = qScopeGuard([&] { db.announceWritten({ table.name }); });
    writeInOneTransaction(db, [&] {
        ItemRowWriter writer(db, table, layout);
        for (const QString &line : lines) {
            if (const std::optional<QVariantList> values = read(line))
                writer.write(*values, canAppend);
        }
        if (finish)
            finish();
    });
}
