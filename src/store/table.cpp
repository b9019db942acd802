#include "store/table.h"

#include "store/item_writes.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

QString quotedName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

} // namespace

Table::Table(Database &database, const TableSchema &schema, const QString &componentName, QObject *parent)
    : Dataset(componentName, parent)
    , m_database(database)
    , m_schema(schema)
{
    Q_ASSERT(m_schema.columns.size() <= 64); // changed columns are kept as a 64-bit mask
    setFields(m_schema.columns);
    connect(&m_database, &Database::tablesChanged, this, &Table::onTablesChanged);
    connect(&m_database, &Database::rowsWritten, this, &Table::onRowsWritten);
    connect(&m_database, &Database::closing, this, [this] {
        close();
        dropStatements();
    });
}

Table::~Table() = default;

void Table::setFilter(const QString &condition, const QVariantList &values)
{
    if (condition == m_filter && values == m_filterValues)
        return;
    m_filter = condition;
    m_filterValues = values;
    m_visible.reset();
    m_oneRow.reset();
    if (m_filtered)
        reload(false);
}

void Table::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    m_oneRow.reset();
    reload(false);
}

void Table::setIndexName(const QString &name)
{
    const int index = name.isEmpty() ? -1 : m_schema.indexIndex(name);
    if (index < 0 && !name.isEmpty())
        fail(u"O índice '%1' não existe"_s.arg(name));
    if (index == m_index)
        return;
    m_index = index;
    m_orderColumns.clear();
    if (m_index >= 0) {
        for (const QString &column : m_schema.indexes[m_index].columns)
            m_orderColumns << m_schema.columnIndex(column);
    }
    reload(true);
}

bool Table::filterActive() const
{
    return m_filtered && !m_filter.trimmed().isEmpty();
}

QString Table::selectSql(const QString &where) const
{
    QStringList columns { u"rowid"_s };
    for (const Field &f : m_schema.columns)
        columns << quotedName(f.name);
    QString sql = u"SELECT %1 FROM %2"_s.arg(columns.join(u", "_s), quotedName(m_schema.name));
    if (!where.isEmpty())
        sql += u" WHERE ("_s + where + u')';
    sql += u" ORDER BY "_s;
    for (int c : m_orderColumns)
        sql += quotedName(m_schema.columns[c].name) + u", "_s;
    return sql + u"rowid"_s;
}

Dataset::RowList Table::load()
{
    m_database.requireOpen();
    const bool filtered = filterActive();
    Statement st(m_database, selectSql(filtered ? m_filter : QString()));
    if (filtered)
        st.bindAll(m_filterValues);
    RowList rows;
    const int count = int(m_schema.columns.size());
    // Item rows repeat most texts (quotation, contact, store names): a text
    // equal to the one above shares its string instead of a new one.
    QList<QByteArray> lastUtf8(count);
    QVariantList lastText(count);
    while (st.step()) {
        auto row = std::make_unique<Row>();
        row->id = st.columnInt(0);
        row->values.reserve(count);
        for (int i = 0; i < count; ++i) {
            if (m_schema.columns[i].type != FieldType::Text || st.columnIsNull(i + 1)) {
                row->values.append(storedValue(st, i + 1, m_schema.columns[i].type));
                continue;
            }
            const QByteArrayView utf8 = st.columnUtf8(i + 1);
            if (lastText[i].isNull() || utf8 != lastUtf8[i]) {
                lastUtf8[i] = utf8.toByteArray();
                lastText[i] = QString::fromUtf8(utf8);
            }
            row->values.append(lastText[i]);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void Table::store(Row &row, bool inserting)
{
    m_database.requireOpen();
    const qsizetype count = m_schema.columns.size();
    if (inserting) {
        if (!m_insert) {
            QStringList names;
            QStringList marks;
            for (const Field &f : m_schema.columns) {
                names << quotedName(f.name);
                marks << u"?"_s;
            }
            m_insert = std::make_unique<Statement>(m_database,
                u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
                    quotedName(m_schema.name), names.join(u", "_s), marks.join(u", "_s)));
        }
        for (int i = 0; i < count; ++i)
            m_insert->bind(i + 1, row.values[i]);
        m_insert->step();
        m_insert->reset();
        row.id = m_database.lastInsertId();
        return;
    }
    // Only the columns that changed: an index is only touched when one of its
    // columns is written, and a row written unchanged costs nothing.
    const Row *before = storedRow(row.id);
    quint64 mask = 0;
    for (int i = 0; i < count; ++i) {
        if (!before || before->values[i] != row.values[i])
            mask |= quint64(1) << i;
    }
    if (mask == 0)
        return;
    auto it = m_updates.find(mask);
    if (it == m_updates.end()) {
        if (m_updates.size() >= 64) // a grid edits one or two columns at a time: keep a few
            m_updates.clear();
        QStringList sets;
        for (int i = 0; i < count; ++i) {
            if (mask & (quint64(1) << i))
                sets << quotedName(m_schema.columns[i].name) + u" = ?"_s;
        }
        it = m_updates.insert(mask,
            std::make_shared<Statement>(m_database,
                u"UPDATE %1 SET %2 WHERE rowid = ?"_s.arg(quotedName(m_schema.name), sets.join(u", "_s))));
    }
    Statement &update = **it;
    int slot = 0;
    for (int i = 0; i < count; ++i) {
        if (mask & (quint64(1) << i))
            update.bind(++slot, row.values[i]);
    }
    update.bind(slot + 1, row.id);
    update.step();
    update.reset();
    if (m_database.changes() == 0)
        fail(u"O registro foi apagado por outra operação."_s); // removed by a statement since it was read
}

void Table::writeCurrentValue(int column, const QVariant &value)
{
    requireOpen();
    if (isEditing()) { // an edit begun elsewhere is stored first
        if (isModified())
            post();
        else
            cancel();
    }
    const qint64 rowid = currentRowId();
    if (rowid < 0)
        fail(u"Operação impossível: a tabela está vazia"_s);
    if (field(column).coerce(value) == Dataset::value(currentRow(), column))
        return; // unchanged: nothing to write
    const bool found = setColumnAt(m_database, m_schema, column, rowid, value);
    m_database.announceRowsWritten(m_schema.name, { rowid });
    if (!found)
        fail(u"O registro foi apagado por outra operação."_s);
}

void Table::erase(const Row &row)
{
    m_database.requireOpen();
    if (!m_delete) {
        m_delete = std::make_unique<Statement>(
            m_database, u"DELETE FROM %1 WHERE rowid = ?"_s.arg(quotedName(m_schema.name)));
    }
    m_delete->bind(1, row.id);
    m_delete->step();
    m_delete->reset();
}

bool Table::stillVisible(const Row &row)
{
    if (!filterActive())
        return true;
    if (!m_visible) {
        m_visible = std::make_unique<Statement>(m_database,
            u"SELECT 1 FROM %1 WHERE (%2) AND rowid = :kelvo_rowid"_s.arg(
                quotedName(m_schema.name), m_filter));
        m_visible->bindAll(m_filterValues);
    }
    m_visible->bind(m_visible->parameterIndex(":kelvo_rowid"), row.id);
    const bool found = m_visible->step();
    m_visible->reset();
    return found;
}

bool Table::rowLess(const Row &a, const Row &b) const
{
    for (int c : m_orderColumns) {
        const int cmp = compareValues(a.values[c], b.values[c], m_schema.columns[c].type);
        if (cmp != 0)
            return cmp < 0;
    }
    return a.id < b.id;
}

void Table::onTablesChanged(const QStringList &tables)
{
    for (const QString &name : tables) {
        if (name.compare(m_schema.name, Qt::CaseInsensitive) == 0) {
            reload(true);
            return;
        }
    }
}

void Table::dropStatements()
{
    m_insert.reset();
    m_updates.clear();
    m_delete.reset();
    m_visible.reset();
    m_oneRow.reset();
}

void Table::onRowsWritten(const QString &table, const QList<qint64> &rowids)
{
    if (!isOpen() || table.compare(m_schema.name, Qt::CaseInsensitive) != 0)
        return;
    if (!m_oneRow) {
        const bool filtered = filterActive();
        const QString where
            = filtered ? u"(%1) AND rowid = :kelvo_rowid"_s.arg(m_filter) : u"rowid = :kelvo_rowid"_s;
        QStringList columns { u"rowid"_s };
        for (const Field &f : m_schema.columns)
            columns << quotedName(f.name);
        m_oneRow = std::make_unique<Statement>(m_database,
            u"SELECT %1 FROM %2 WHERE %3"_s.arg(columns.join(u", "_s), quotedName(m_schema.name), where));
        if (filtered)
            m_oneRow->bindAll(m_filterValues);
    }
    const int slot = m_oneRow->parameterIndex(":kelvo_rowid");
    for (const qint64 id : rowids) {
        m_oneRow->bind(slot, id);
        std::unique_ptr<Row> fresh = m_oneRow->step() ? readRow(*m_oneRow) : nullptr;
        m_oneRow->reset();
        refreshRow(id, std::move(fresh));
    }
}

std::unique_ptr<Dataset::Row> Table::readRow(const Statement &st) const
{
    auto row = std::make_unique<Row>();
    row->id = st.columnInt(0);
    const int count = int(m_schema.columns.size());
    row->values.reserve(count);
    for (int i = 0; i < count; ++i)
        row->values.append(storedValue(st, i + 1, m_schema.columns[i].type));
    return row;
}
