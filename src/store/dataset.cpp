#include "store/dataset.h"

#include "store/locate_index.h"
#include "store/store_error.h"

#include <algorithm>

using namespace Qt::StringLiterals;

Dataset::Dataset(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::setFields(const FieldList &fields)
{
    m_fields = fields;
    m_names.clear();
    m_foldedNames.clear();
    for (int i = 0; i < m_fields.size(); ++i) {
        m_names.insert(m_fields[i].name, i);
        m_foldedNames.insert(m_fields[i].name.toCaseFolded(), i);
    }
}

void Dataset::fail(const QString &message) const
{
    throw StoreError(objectName().isEmpty() ? message : objectName() + u": "_s + message);
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        fail(u"Operação impossível: a tabela está fechada"_s);
}

// ---- open state -------------------------------------------------------------

void Dataset::open()
{
    if (isOpen())
        return;
    RowList rows = load();
    if (notifying())
        Q_EMIT aboutToReset();
    columnsLoaded();
    m_state = State::Browse;
    replaceRows(std::move(rows));
    m_current = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    if (notifying()) {
        Q_EMIT resetDone();
        Q_EMIT currentRowChanged(m_current);
    }
}

void Dataset::close()
{
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    if (notifying())
        Q_EMIT aboutToReset();
    replaceRows({});
    m_state = State::Inactive;
    m_current = -1;
    m_bof = m_eof = true;
    if (notifying()) {
        Q_EMIT resetDone();
        Q_EMIT currentRowChanged(m_current);
    }
}

void Dataset::reload(bool keepCurrent)
{
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    const qint64 keepId = keepCurrent && m_current >= 0 ? m_rows[size_t(m_current)]->id : -1;
    RowList rows = load();
    if (notifying())
        Q_EMIT aboutToReset();
    columnsLoaded();
    replaceRows(std::move(rows));
    int pos = m_rows.empty() ? -1 : 0;
    if (const Row *kept = m_byId.value(keepId, nullptr))
        pos = positionOf(*kept);
    m_current = pos;
    m_bof = pos <= 0;
    m_eof = m_rows.empty();
    if (notifying()) {
        Q_EMIT resetDone();
        Q_EMIT currentRowChanged(m_current);
    }
}

void Dataset::replaceRows(RowList rows)
{
    m_rows = std::move(rows);
    m_byId.clear();
    m_byId.reserve(qsizetype(m_rows.size()));
    for (const auto &row : m_rows)
        m_byId.insert(row->id, row.get());
    m_buffer.reset();
    m_modified = false;
    dropLocateIndexes();
}

int Dataset::rowCount() const
{
    return int(m_rows.size()) + (m_state == State::Insert ? 1 : 0);
}

// ---- columns ----------------------------------------------------------------

int Dataset::fieldIndex(const QString &name) const
{
    const auto it = m_names.constFind(name);
    if (it != m_names.cend())
        return *it;
    return m_foldedNames.value(name.toCaseFolded(), -1);
}

Field *Dataset::findField(const QString &name)
{
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &m_fields[i];
}

const Field &Dataset::field(int column) const
{
    if (column < 0 || column >= m_fields.size())
        fail(u"A coluna %1 não existe"_s.arg(column));
    return m_fields[column];
}

Field &Dataset::fieldByName(const QString &name)
{
    return m_fields[columnOrThrow(name)];
}

int Dataset::columnOrThrow(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        fail(u"A coluna '%1' não existe"_s.arg(name));
    return i;
}

// ---- walking ----------------------------------------------------------------

void Dataset::first()
{
    requireOpen();
    checkBrowseMode();
    moveTo(m_rows.empty() ? -1 : 0);
    m_bof = true;
    m_eof = m_rows.empty();
}

void Dataset::next()
{
    requireOpen();
    checkBrowseMode();
    if (m_current + 1 < int(m_rows.size())) {
        moveTo(m_current + 1);
        m_eof = false;
    } else {
        m_eof = true;
    }
    m_bof = false;
}

void Dataset::prior()
{
    requireOpen();
    checkBrowseMode();
    if (m_current > 0) {
        moveTo(m_current - 1);
        m_bof = false;
    } else {
        m_bof = true;
    }
    m_eof = false;
}

void Dataset::last()
{
    requireOpen();
    checkBrowseMode();
    moveTo(int(m_rows.size()) - 1);
    m_eof = true;
    m_bof = m_rows.empty();
}

void Dataset::setCurrentRow(int row)
{
    requireOpen();
    if (row == m_current)
        return;
    checkBrowseMode();
    const int last = int(m_rows.size()) - 1;
    moveTo(last < 0 ? -1 : std::clamp(row, 0, last));
    m_bof = m_eof = m_rows.empty();
}

Bookmark Dataset::bookmark() const
{
    if (m_current < 0 || m_current >= int(m_rows.size()) || m_state == State::Insert)
        return {};
    return { m_rows[size_t(m_current)]->id, m_generation };
}

bool Dataset::gotoBookmark(const Bookmark &bookmark)
{
    requireOpen();
    if (!bookmark.isValid() || bookmark.generation != m_generation)
        return false;
    checkBrowseMode();
    const Row *row = m_byId.value(bookmark.id, nullptr);
    if (!row)
        return false;
    moveTo(positionOf(*row));
    m_bof = m_eof = false;
    return true;
}

void Dataset::disableControls()
{
    ++m_disabled;
}

void Dataset::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    Q_EMIT aboutToReset();
    Q_EMIT resetDone();
    Q_EMIT currentRowChanged(m_current);
}

void Dataset::moveTo(int row, bool force)
{
    if (!force && row == m_current)
        return;
    m_current = row;
    if (notifying())
        Q_EMIT currentRowChanged(row);
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

// ---- values -----------------------------------------------------------------

const Dataset::Row *Dataset::rowAt(int row) const
{
    if (row < 0)
        return nullptr;
    if (m_state == State::Insert && row == int(m_rows.size()))
        return m_buffer.get();
    if (m_state == State::Edit && row == m_current)
        return m_buffer.get();
    return row < int(m_rows.size()) ? m_rows[size_t(row)].get() : nullptr;
}

QVariant Dataset::value(int column) const
{
    requireOpen();
    field(column);
    const Row *row = rowAt(m_current);
    return row ? row->values[column] : QVariant();
}

QVariant Dataset::value(const QString &name) const
{
    return value(columnOrThrow(name));
}

QString Dataset::asString(const QString &name) const
{
    const int c = columnOrThrow(name);
    return m_fields[c].asString(value(c));
}

double Dataset::asFloat(const QString &name) const
{
    return value(name).toDouble();
}

QDate Dataset::asDate(const QString &name) const
{
    return value(name).toDate();
}

QTime Dataset::asTime(const QString &name) const
{
    return value(name).toTime();
}

QVariant Dataset::value(int row, int column) const
{
    const Row *r = rowAt(row);
    if (!r || column < 0 || column >= r->values.size())
        return {};
    return r->values[column];
}

QString Dataset::displayText(int row, int column) const
{
    if (column < 0 || column >= m_fields.size())
        return {};
    return m_fields[column].displayText(value(row, column));
}

QString Dataset::editText(int row, int column) const
{
    if (column < 0 || column >= m_fields.size())
        return {};
    return m_fields[column].editText(value(row, column));
}

// ---- editing ----------------------------------------------------------------

void Dataset::store(Row &, bool)
{
    fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
}

void Dataset::erase(const Row &)
{
    fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
}

void Dataset::writeCurrentValue(int, const QVariant &)
{
    fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
}

bool Dataset::append()
{
    requireOpen();
    if (isReadOnly())
        fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
    checkBrowseMode();
    if (!allowInsert())
        return false;
    const int before = m_current;
    const int pos = int(m_rows.size());
    if (notifying())
        Q_EMIT rowAboutToBeInserted(pos);
    m_buffer = std::make_unique<Row>();
    m_buffer->values.resize(m_fields.size());
    m_state = State::Insert;
    m_modified = false;
    m_beforeAppend = before;
    if (notifying())
        Q_EMIT rowInserted(pos);
    moveTo(pos, true);
    m_bof = m_eof = false;
    return true;
}

void Dataset::edit()
{
    requireOpen();
    if (isReadOnly())
        fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
    if (isEditing())
        return;
    if (m_current < 0)
        fail(u"Operação impossível: a tabela está vazia"_s);
    m_buffer = std::make_unique<Row>(*m_rows[size_t(m_current)]);
    m_modified = false;
    m_state = State::Edit;
}

void Dataset::setValue(int column, const QVariant &value)
{
    if (!isEditing())
        fail(u"A tabela não está em edição nem em inclusão"_s);
    m_buffer->values[column] = field(column).coerce(value);
    m_modified = true;
    if (notifying())
        Q_EMIT rowChanged(m_current);
}

void Dataset::setValue(const QString &name, const QVariant &value)
{
    setValue(columnOrThrow(name), value);
}

void Dataset::post()
{
    if (!isEditing())
        fail(u"A tabela não está em edição nem em inclusão"_s);
    for (int i = 0; i < m_fields.size(); ++i)
        m_fields[i].requireValue(m_buffer->values[i]);
    const bool inserting = m_state == State::Insert;
    store(*m_buffer, inserting); // a refusal leaves the row in edit
    std::unique_ptr<Row> posted = std::move(m_buffer);
    m_modified = false;
    bool visible = true;
    try {
        visible = stillVisible(*posted);
    } catch (const StoreError &) {
        // The row is stored; showing it is the safe side.
    }

    if (inserting) {
        const int pending = int(m_rows.size());
        if (notifying())
            Q_EMIT rowAboutToBeRemoved(pending);
        m_state = State::Browse;
        if (notifying())
            Q_EMIT rowRemoved(pending);
        if (visible) {
            moveTo(insertSorted(std::move(posted)), true);
        } else {
            const int last = int(m_rows.size()) - 1;
            moveTo(last < 0 ? -1 : std::clamp(m_beforeAppend, 0, last), true);
        }
    } else {
        m_state = State::Browse;
        const int pos = m_current;
        Row &row = *m_rows[size_t(pos)];
        unindexRow(row);
        row.values = std::move(posted->values);
        indexRow(row);
        const int last = int(m_rows.size()) - 1;
        const bool inOrder = (pos == 0 || !rowLess(row, *m_rows[size_t(pos - 1)]))
            && (pos == last || !rowLess(*m_rows[size_t(pos + 1)], row));
        if (!visible) {
            takeAt(pos);
            moveTo(last == 0 ? -1 : std::min(pos, last - 1), true);
        } else if (!inOrder) {
            moveTo(insertSorted(takeAt(pos)), true);
        } else if (notifying()) {
            Q_EMIT rowChanged(pos);
        }
    }
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    if (m_state == State::Insert) {
        const int pending = int(m_rows.size());
        if (notifying())
            Q_EMIT rowAboutToBeRemoved(pending);
        m_state = State::Browse;
        m_buffer.reset();
        if (notifying())
            Q_EMIT rowRemoved(pending);
        const int last = pending - 1;
        moveTo(last < 0 ? -1 : std::clamp(m_beforeAppend, 0, last), true);
    } else {
        m_state = State::Browse;
        m_buffer.reset();
        if (notifying())
            Q_EMIT rowChanged(m_current);
    }
    m_modified = false;
}

void Dataset::deleteRow()
{
    requireOpen();
    if (isReadOnly())
        fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0)
        fail(u"Operação impossível: a tabela está vazia"_s);
    if (m_state == State::Edit)
        cancel();
    const int pos = m_current;
    erase(*m_rows[size_t(pos)]);
    takeAt(pos);
    const int last = int(m_rows.size()) - 1;
    moveTo(last < 0 ? -1 : std::min(pos, last), true);
    m_eof = m_rows.empty();
}

// ---- row order and look-up --------------------------------------------------

int Dataset::positionOf(const Row &row) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
        [this](const std::unique_ptr<Row> &a, const Row &b) { return rowLess(*a, b); });
    if (it != m_rows.end() && it->get() == &row)
        return int(it - m_rows.begin());
    for (size_t i = 0; i < m_rows.size(); ++i) { // only when the order was broken
        if (m_rows[i].get() == &row)
            return int(i);
    }
    return -1;
}

std::unique_ptr<Dataset::Row> Dataset::takeAt(int pos)
{
    if (notifying())
        Q_EMIT rowAboutToBeRemoved(pos);
    std::unique_ptr<Row> row = std::move(m_rows[size_t(pos)]);
    m_rows.erase(m_rows.begin() + pos);
    unindexRow(*row);
    m_byId.remove(row->id);
    if (m_current > pos)
        --m_current;
    if (notifying())
        Q_EMIT rowRemoved(pos);
    return row;
}

int Dataset::insertSorted(std::unique_ptr<Row> row)
{
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), row,
        [this](const std::unique_ptr<Row> &a, const std::unique_ptr<Row> &b) { return rowLess(*a, *b); });
    const int pos = int(it - m_rows.begin());
    if (notifying())
        Q_EMIT rowAboutToBeInserted(pos);
    m_byId.insert(row->id, row.get());
    indexRow(*row);
    m_rows.insert(it, std::move(row));
    if (m_current >= pos)
        ++m_current;
    if (notifying())
        Q_EMIT rowInserted(pos);
    return pos;
}

bool Dataset::gotoRowId(qint64 id)
{
    requireOpen();
    checkBrowseMode();
    const Row *row = m_byId.value(id, nullptr);
    if (!row)
        return false;
    moveTo(positionOf(*row));
    m_bof = m_eof = false;
    return true;
}

void Dataset::refreshRow(qint64 id, std::unique_ptr<Row> fresh)
{
    if (!isOpen())
        return;
    Row *cached = m_byId.value(id, nullptr);
    if (!cached) {
        if (fresh)
            insertSorted(std::move(fresh));
        return;
    }
    const int pos = positionOf(*cached);
    const bool editingIt = m_state == State::Edit && pos == m_current && m_buffer;
    if (!fresh) {
        if (editingIt) {
            m_state = State::Browse;
            m_buffer.reset();
            m_modified = false;
        }
        const bool wasCurrent = pos == m_current;
        takeAt(pos);
        if (wasCurrent) {
            const int last = int(m_rows.size()) - 1;
            moveTo(last < 0 ? -1 : std::min(pos, last), true);
            m_eof = m_rows.empty();
        }
        return;
    }
    if (editingIt) {
        // What the user typed stays; the rest follows the stored row.
        for (int i = 0; i < m_fields.size(); ++i) {
            if (m_buffer->values[i] == cached->values[i])
                m_buffer->values[i] = fresh->values[i];
        }
    }
    unindexRow(*cached);
    cached->values = std::move(fresh->values);
    indexRow(*cached);
    const int last = int(m_rows.size()) - 1;
    const bool inOrder = (pos == 0 || !rowLess(*cached, *m_rows[size_t(pos - 1)]))
        && (pos == last || !rowLess(*m_rows[size_t(pos + 1)], *cached));
    if (inOrder || editingIt) {
        if (notifying())
            Q_EMIT rowChanged(pos);
        return;
    }
    const bool wasCurrent = pos == m_current;
    const int moved = insertSorted(takeAt(pos));
    if (wasCurrent)
        moveTo(moved, true);
}
