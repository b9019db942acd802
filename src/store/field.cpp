#include "store/field.h"

#include "store/ansi_text.h"
#include "store/sql_dates.h"
#include "store/store_error.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QChar separatorOf(const QString &format, QChar fallback)
{
    for (QChar c : format) {
        if (!c.isLetter() && c != u'\'')
            return c;
    }
    return fallback;
}

QString pad(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
}

// The date and time patterns of the field lists: d, m, y, h, n (minutes),
// s, "/" and ":" standing for the regional separators, quoted literals.
QString formatDateTime(QDate date, QTime time, const QString &pattern)
{
    const QLocale locale;
    QString out;
    bool minuteContext = false; // "m" right after an hour means minutes
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(pattern[i], i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += QStringView(pattern).mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        qsizetype n = 1;
        while (i + n < pattern.size() && pattern[i + n].toLower() == c)
            ++n;
        i += n;
        const int w = n >= 2 ? 2 : 1;
        switch (c.unicode()) {
        case u'd':
            if (n <= 2)
                out += pad(date.day(), w);
            else
                out += locale.dayName(date.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            minuteContext = false;
            break;
        case u'm':
            if (minuteContext) {
                out += pad(time.minute(), w);
            } else if (n <= 2) {
                out += pad(date.month(), w);
            } else {
                out += locale.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            }
            break;
        case u'y':
            out += n <= 2 ? pad(date.year() % 100, 2) : pad(date.year(), 4);
            minuteContext = false;
            break;
        case u'h':
            out += pad(time.hour(), w);
            minuteContext = true;
            break;
        case u'n':
            out += pad(time.minute(), w);
            break;
        case u's':
            out += pad(time.second(), w);
            break;
        case u'/':
            out += QString(separatorOf(locale.dateFormat(QLocale::ShortFormat), u'/')).repeated(n);
            break;
        case u':':
            out += QString(separatorOf(locale.timeFormat(QLocale::ShortFormat), u':')).repeated(n);
            break;
        default:
            out += QString(pattern[i - n]).repeated(n);
        }
    }
    return out;
}

// Number patterns: "0.00", "#,##0.00": decimals after ".", grouping with ",".
QString formatNumber(double value, const QString &pattern)
{
    const qsizetype dot = pattern.indexOf(u'.');
    int decimals = 0;
    int required = 0;
    if (dot >= 0) {
        for (qsizetype i = dot + 1; i < pattern.size(); ++i) {
            if (pattern[i] == u'0')
                required = ++decimals;
            else if (pattern[i] == u'#')
                ++decimals;
            else
                break;
        }
    }
    QLocale locale;
    if (!pattern.contains(u','))
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const double scale = std::pow(10.0, decimals);
    if (std::round(value * scale) == 0.0)
        value = 0.0; // no "-0,00"
    QString text = locale.toString(value, 'f', decimals);
    if (required < decimals) {
        const QString point = locale.decimalPoint();
        qsizetype keep = text.size();
        for (int k = decimals; k > required && text[keep - 1] == u'0'; --k)
            --keep;
        text.truncate(keep);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

QString generalNumber(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

bool isTextual(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

} // namespace

QString formatValue(const QVariant &value, FieldType type, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Float:
    case FieldType::Integer:
        if (!format.isEmpty())
            return formatNumber(value.toDouble(), format);
        return type == FieldType::Float ? generalNumber(value.toDouble())
                                        : QLocale().toString(value.toLongLong());
    case FieldType::Date:
        return format.isEmpty() ? QLocale().toString(value.toDate(), QLocale::ShortFormat)
                                : formatDateTime(value.toDate(), {}, format);
    case FieldType::Time:
        return formatDateTime({}, value.toTime(), format.isEmpty() ? u"hh:nn:ss"_s : format);
    }
    return {};
}

QString Field::displayText(const QVariant &value) const
{
    if (getText)
        return getText(value);
    return formatValue(value, type, displayFormat);
}

QString Field::editText(const QVariant &value) const
{
    if (getText)
        return getText(value);
    return asString(value);
}

QString Field::asString(const QVariant &value) const
{
    return formatValue(value, type, QString());
}

QVariant Field::coerce(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    const auto invalid = [&](const char16_t *what) {
        return StoreError(u"'%1' is not a valid %2"_s.arg(value.toString(), QString::fromUtf16(what)));
    };
    switch (type) {
    case FieldType::Text: {
        QString text;
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QTime
            || value.typeId() == QMetaType::Double) {
            const FieldType from = value.typeId() == QMetaType::QDate ? FieldType::Date
                                   : value.typeId() == QMetaType::QTime ? FieldType::Time
                                                                        : FieldType::Float;
            text = formatValue(value, from, QString());
        } else {
            text = value.toString();
        }
        text = toAnsiText(text, size);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Float:
    case FieldType::Integer: {
        double number = 0;
        if (isTextual(value)) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return {};
            QLocale locale;
            locale.setNumberOptions(QLocale::RejectGroupSeparator);
            bool ok = false;
            number = locale.toDouble(text, &ok);
            if (!ok || !std::isfinite(number))
                throw invalid(type == FieldType::Float ? u"floating point value" : u"integer value");
        } else {
            bool ok = false;
            number = value.toDouble(&ok);
            if (!ok || !std::isfinite(number))
                throw invalid(type == FieldType::Float ? u"floating point value" : u"integer value");
        }
        if (type == FieldType::Integer) {
            if (number != std::trunc(number) || std::fabs(number) > 9.0e15)
                throw invalid(u"integer value");
            return QVariant(qint64(number));
        }
        return QVariant(number);
    }
    case FieldType::Date: {
        QDate date;
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
            date = value.toDate();
            if (!date.isValid())
                return {}; // a null date clears the column
        }
        else if (isTextual(value)) {
            if (value.toString().trimmed().isEmpty())
                return {};
            date = parseDateText(value.toString());
        }
        if (!date.isValid())
            throw invalid(u"date");
        return QVariant(date);
    }
    case FieldType::Time: {
        QTime time;
        if (value.typeId() == QMetaType::QTime || value.typeId() == QMetaType::QDateTime) {
            time = value.toTime();
            if (!time.isValid())
                return {};
        }
        else if (isTextual(value)) {
            if (value.toString().trimmed().isEmpty())
                return {};
            time = parseTimeText(value.toString());
        }
        if (!time.isValid())
            throw invalid(u"time");
        return QVariant(QTime(time.hour(), time.minute(), time.second())); // stored to the second
    }
    }
    return {};
}
