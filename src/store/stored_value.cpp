#include "store/stored_value.h"

#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

int digits(QStringView s, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QDate isoDate(const QString &s)
{
    if (s.size() == 10 && s[4] == u'-' && s[7] == u'-') {
        const int y = digits(s, 0, 4);
        const int m = digits(s, 5, 2);
        const int d = digits(s, 8, 2);
        if (y >= 0 && m >= 0 && d >= 0)
            return QDate(y, m, d);
    }
    return QDate::fromString(s, Qt::ISODate);
}

QTime isoTime(const QString &s)
{
    if (s.size() == 8 && s[2] == u':' && s[5] == u':') {
        const int h = digits(s, 0, 2);
        const int m = digits(s, 3, 2);
        const int sec = digits(s, 6, 2);
        if (h >= 0 && m >= 0 && sec >= 0)
            return QTime(h, m, sec);
    }
    return QTime::fromString(s, Qt::ISODate);
}

template <typename T>
int threeWay(const T &a, const T &b)
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
