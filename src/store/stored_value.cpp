#include "store/stored_value.h"

#include "common/regional.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

template <typename T> int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

QVariant storedValue(const Statement &st, int column, FieldType type)
{
    if (st.columnIsNull(column))
        return {};
    switch (type) {
    case FieldType::Text:
        return st.columnText(column);
    case FieldType::Float:
        return st.columnDouble(column);
    case FieldType::Integer:
        return st.columnInt(column);
    case FieldType::Date: {
        const QDate d = isoDate(st.columnText(column));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Time: {
        const QTime t = isoTime(st.columnText(column));
        return t.isValid() ? QVariant(t) : QVariant();
    }
    }
    return {};
}

QString storedText(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QString() : st.columnText(column);
}

std::optional<double> storedNumber(const Statement &st, int column)
{
    if (st.columnIsNull(column))
        return std::nullopt;
    return st.columnDouble(column);
}

QDate storedDate(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QDate() : isoDate(st.columnText(column));
}

QTime storedTime(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QTime() : isoTime(st.columnText(column));
}

QString boundMarks(qsizetype n)
{
    return QStringList(n, u"?"_s).join(u", "_s);
}

int compareValues(const QVariant &a, const QVariant &b, FieldType type)
{
    const bool an = !a.isValid();
    const bool bn = !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    switch (type) {
    case FieldType::Text:
        // UTF-16 order equals the file's UTF-8 byte order for the texts kept
        // (all within the Basic Multilingual Plane).
        if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString) {
            return QString::compare(*static_cast<const QString *>(a.constData()),
                *static_cast<const QString *>(b.constData()), Qt::CaseSensitive);
        }
        return QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
    case FieldType::Float:
        return threeWay(a.toDouble(), b.toDouble());
    case FieldType::Integer:
        return threeWay(a.toLongLong(), b.toLongLong());
    case FieldType::Date:
        return threeWay(a.toDate(), b.toDate());
    case FieldType::Time:
        return threeWay(a.toTime(), b.toTime());
    }
    return 0;
}
