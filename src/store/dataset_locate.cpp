#include "store/ansi_text.h"
#include "store/locate_index.h"

using namespace Qt::StringLiterals;

namespace {

constexpr size_t kMaxLocateIndexes = 4;

// Values are joined by U+FFFF and an empty value is U+FFFE: neither can be
// in a stored text (the ANSI code page holds neither).
void appendKeyPart(QString &key, const Field &field, const QVariant &value)
{
    if (!key.isEmpty())
        key += QChar(0xFFFF);
    if (!value.isValid() || value.isNull()) {
        key += QChar(0xFFFE);
        return;
    }
    switch (field.type) {
    case FieldType::Text:
        key += value.toString().toCaseFolded();
        break;
    case FieldType::Float:
        key += QString::number(value.toDouble(), 'g', 17);
        break;
    case FieldType::Integer:
        key += QString::number(value.toLongLong());
        break;
    case FieldType::Date:
        key += QString::number(value.toDate().toJulianDay());
        break;
    case FieldType::Time:
        key += QString::number(value.toTime().msecsSinceStartOfDay());
        break;
    }
}

} // namespace

QString Dataset::locateKey(const QVariantList &values, const QList<int> &columns) const
{
    QString key;
    key.reserve(64);
    for (int c : columns)
        appendKeyPart(key, m_fields[c], values[c]);
    return key;
}

void Dataset::dropLocateIndexes()
{
    m_locate.clear();
}

void Dataset::indexRow(const Row &row)
{
    for (const auto &index : m_locate)
        index->keys.insert(locateKey(row.values, index->columns), row.id);
}

void Dataset::unindexRow(const Row &row)
{
    for (const auto &index : m_locate)
        index->keys.remove(locateKey(row.values, index->columns), row.id);
}

Dataset::LocateIndex &Dataset::locateIndex(const QList<int> &columns)
{
    for (const auto &index : m_locate) {
        if (index->columns == columns)
            return *index;
    }
    if (m_locate.size() >= kMaxLocateIndexes)
        m_locate.erase(m_locate.begin());
    auto index = std::make_unique<LocateIndex>();
    index->columns = columns;
    index->keys.reserve(qsizetype(m_rows.size()));
    for (const auto &row : m_rows)
        index->keys.insert(locateKey(row->values, columns), row->id);
    m_locate.push_back(std::move(index));
    return *m_locate.back();
}

bool Dataset::locate(const QString &columns, const QVariantList &values)
{
    return locate(columns.split(u';'), values);
}

bool Dataset::locate(const QStringList &columns, const QVariantList &values)
{
    requireOpen();
    if (columns.size() != values.size())
        fail(u"A busca precisa de um valor para cada uma das %1 colunas, e foram dados %2"_s
                 .arg(columns.size())
                 .arg(values.size()));
    QList<int> cols;
    QVariantList wanted(m_fields.size());
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const int c = columnOrThrow(columns[i].trimmed());
        cols << c;
        const Field &f = m_fields[c];
        if (f.type == FieldType::Text && !textsFitSize()) {
            const QString text = toAnsiText(values[i].toString(), 0);
            wanted[c] = text.isEmpty() ? QVariant() : QVariant(text);
        } else {
            wanted[c] = f.coerce(values[i]); // dates read as dates, texts cut as stored
        }
    }
    checkBrowseMode();
    const QString key = locateKey(wanted, cols);
    const LocateIndex &index = locateIndex(cols);
    int best = -1;
    const auto [begin, end] = index.keys.equal_range(key);
    for (auto it = begin; it != end; ++it) {
        const Row *row = m_byId.value(*it, nullptr);
        const int pos = row ? positionOf(*row) : -1;
        if (pos >= 0 && (best < 0 || pos < best))
            best = pos;
    }
    if (best < 0)
        return false;
    moveTo(best);
    m_bof = m_eof = false;
    return true;
}
