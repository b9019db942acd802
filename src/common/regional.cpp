#include "common/regional.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

ConversionError::ConversionError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

QString notAValueText(const QString &text, ValueKind kind)
{
    switch (kind) {
    case ValueKind::Integer:
        return u"'%1' não é um número inteiro válido"_s.arg(text);
    case ValueKind::Date:
        return u"'%1' não é uma data válida"_s.arg(text);
    case ValueKind::Time:
        return u"'%1' não é uma hora válida"_s.arg(text);
    case ValueKind::Number:
        break;
    }
    return u"'%1' não é um número válido"_s.arg(text);
}

namespace {

[[noreturn]] void invalid(const QString &text, ValueKind kind)
{
    throw ConversionError(notAValueText(text, kind));
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Reads one to maxDigits digits at i and moves past them; -1 when there is none.
int readDigits(QStringView t, qsizetype &i, int maxDigits)
{
    int value = 0;
    const qsizetype start = i;
    while (i < t.size() && i - start < maxDigits && isDigit(t[i]))
        value = value * 10 + (t[i++].unicode() - u'0');
    return i == start ? -1 : value;
}

// Exactly count digits at from; -1 when one is not a digit.
int fixedDigits(QStringView t, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (!isDigit(t[i]))
            return -1;
        value = value * 10 + (t[i].unicode() - u'0');
    }
    return value;
}

// A format made of runs of the given letters and one separator between them:
// the separator and the runs, or nothing for any other format.
struct Runs {
    QChar separator;
    QList<QStringView> parts;
};

std::optional<Runs> runsOf(QStringView format, QStringView letters)
{
    qsizetype s = 0;
    while (s < format.size() && letters.contains(format[s]))
        ++s;
    if (s == format.size() || format[s].isLetterOrNumber() || format[s] == u'\'')
        return std::nullopt;
    Runs runs { format[s], format.split(format[s]) };
    for (QStringView part : runs.parts) {
        if (part.isEmpty() || !letters.contains(part[0]) || part.count(part[0]) != part.size())
            return std::nullopt;
    }
    return runs;
}

// ---- dates

// The order of day, month and year of a short date format of numbers only
// ("dd/MM/yyyy" → d M y and "/").
struct NumericDate {
    QChar separator;
    char order[3];
};

std::optional<NumericDate> numericDate(const QString &format)
{
    const auto runs = runsOf(format, u"dMy");
    if (!runs || runs->parts.size() != 3)
        return std::nullopt;
    NumericDate f { runs->separator, {} };
    for (int k = 0; k < 3; ++k) {
        const QStringView part = runs->parts[k];
        if (part[0] != u'y' && part.size() > 2)
            return std::nullopt; // a month or day name
        f.order[k] = char(part[0].unicode());
    }
    const auto has = [&f](char c) { return f.order[0] == c || f.order[1] == c || f.order[2] == c; };
    if (!has('d') || !has('M') || !has('y'))
        return std::nullopt;
    return f;
}

QDate readNumericDate(QStringView t, const NumericDate &f)
{
    int day = 0;
    int month = 0;
    int year = 0;
    qsizetype i = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= t.size() || t[i] != f.separator)
                return {};
            ++i;
        }
        const qsizetype start = i;
        const int value = readDigits(t, i, f.order[k] == 'y' ? 4 : 2);
        if (value < 0)
            return {};
        if (f.order[k] == 'd') {
            day = value;
        } else if (f.order[k] == 'M') {
            month = value;
        } else if (i - start == 4) {
            year = value;
        } else if (i - start == 2) {
            year = value < 50 ? 2000 + value : 1900 + value;
        } else {
            return {};
        }
    }
    return i == t.size() ? QDate(year, month, day) : QDate();
}

// Day, month, hour, minute and second of one or two digits.
QString lenientPattern(QString format)
{
    format.replace(u"dd"_s, u"d"_s);
    format.replace(u"MM"_s, u"M"_s);
    format.replace(u"HH"_s, u"H"_s);
    format.replace(u"hh"_s, u"h"_s);
    format.replace(u"mm"_s, u"m"_s);
    format.replace(u"ss"_s, u"s"_s);
    return format;
}

// Invalid when the text is no regional date. Formats of numbers are read
// here: QLocale's own parser is far too slow for a download that reads a
// date on every line.
QDate readRegionalDate(const QString &t)
{
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    if (const auto numeric = numericDate(format))
        return readNumericDate(t, *numeric);
    for (const QString &pattern : { format, lenientPattern(format) }) {
        const QDate d = locale.toDate(t, pattern);
        if (d.isValid())
            return d;
    }
    return {};
}

// ---- times

struct NumericTime {
    QChar separator;
    bool marker = false; // AM/PM
};

std::optional<NumericTime> numericTime(QString format)
{
    NumericTime f;
    for (const QString &marker : { u"AP"_s, u"ap"_s, u"A"_s, u"a"_s }) {
        if (format.contains(marker)) {
            format.remove(marker);
            f.marker = true;
            break;
        }
    }
    format = format.trimmed();
    const auto runs = runsOf(format, u"hHms");
    if (!runs || runs->parts.size() < 2 || runs->parts.size() > 3)
        return std::nullopt;
    const QStringView hour = runs->parts[0];
    if ((hour[0] != u'h' && hour[0] != u'H') || runs->parts[1][0] != u'm'
        || (runs->parts.size() == 3 && runs->parts[2][0] != u's'))
        return std::nullopt;
    f.separator = runs->separator;
    return f;
}

// -1 no marker, 0 AM, 1 PM; the marker, before or after the time, and the
// blanks beside it leave t.
int takeMarker(QStringView &t, const QLocale &locale)
{
    const QString texts[] = { locale.amText(), locale.pmText() };
    for (int pm = 0; pm < 2; ++pm) {
        const QString &marker = texts[pm];
        if (marker.isEmpty())
            continue;
        if (t.endsWith(marker, Qt::CaseInsensitive)) {
            t = t.chopped(marker.size()).trimmed();
            return pm;
        }
        if (t.startsWith(marker, Qt::CaseInsensitive)) {
            t = t.sliced(marker.size()).trimmed();
            return pm;
        }
    }
    return -1;
}

QTime readNumericTime(QStringView t, const NumericTime &f, const QLocale &locale)
{
    const int pm = f.marker ? takeMarker(t, locale) : -1;
    qsizetype i = 0;
    int hour = readDigits(t, i, 2);
    if (hour < 0 || i >= t.size() || t[i] != f.separator)
        return {};
    ++i;
    const int minute = readDigits(t, i, 2);
    if (minute < 0)
        return {};
    int second = 0;
    if (i < t.size()) {
        if (t[i] != f.separator)
            return {};
        ++i;
        second = readDigits(t, i, 2);
        if (second < 0 || i != t.size())
            return {};
    }
    if (pm >= 0) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + 12 * pm;
    }
    return QTime(hour, minute, second);
}

QTime readRegionalTime(const QString &t)
{
    const QLocale locale;
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    if (const auto numeric = numericTime(format))
        return readNumericTime(t, *numeric, locale);
    QString withSeconds = format;
    if (!format.contains(u's'))
        withSeconds.replace(u"mm"_s, u"mm:ss"_s);
    for (const QString &pattern :
        { format, withSeconds, lenientPattern(format), lenientPattern(withSeconds) }) {
        const QTime v = locale.toTime(t, pattern);
        if (v.isValid())
            return v;
    }
    return {};
}

// Blanks around a text are ignored and an empty text is an empty value; a
// text the reader finds no value in is refused.
template <typename Value, typename Read> Value readValue(const QString &text, ValueKind kind, Read read)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const Value v = read(t);
    if (!v.isValid())
        invalid(text, kind);
    return v;
}

bool looksIsoDateTime(const QString &t)
{
    return t.size() > 10 && t[4] == u'-' && t[7] == u'-';
}

// ---- numbers

// A positive finite number to 15 significant digits: the 15 digits (trailing
// zeros kept) and the decimal exponent of the first one.
struct Decimal {
    QByteArray digits;
    int exponent = 0;
};

Decimal decimal15(double magnitude)
{
    const QByteArray e = QByteArray::number(magnitude, 'e', 14); // d.dddddddddddddde±x
    const qsizetype mark = e.indexOf('e');
    return { e.left(1) + e.mid(2, mark - 2), e.mid(mark + 1).toInt() };
}

// The value to 15 significant digits, rounded half away from zero to the
// given decimals.
double rounded(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    const Decimal d = decimal15(std::fabs(value));
    const qsizetype keep = d.exponent + 1 + decimals; // digits before the cut
    if (keep >= d.digits.size())
        return value;
    if (keep < 0)
        return 0.0;
    qint64 kept = keep == 0 ? 0 : d.digits.left(keep).toLongLong();
    if (d.digits[keep] >= '5')
        ++kept;
    const double r = (QByteArray::number(kept) + 'e' + QByteArray::number(-decimals)).toDouble();
    return value < 0 ? -r : r;
}

QString withoutQuotes(QString text)
{
    text.remove(u'"');
    text.remove(u'\'');
    return text;
}

// ---- dates and times by pattern

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
    return u"%1"_s.arg(value, width, 10, QChar(u'0'));
}

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
            if (minuteContext)
                out += pad(time.minute(), w);
            else if (n <= 2)
                out += pad(date.month(), w);
            else
                out += locale.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
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

} // namespace

// ---- reading ----------------------------------------------------------------

std::optional<double> regionalNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        invalid(text, ValueKind::Number);
    return v;
}

double requiredNumber(const QString &text)
{
    const auto v = regionalNumber(text);
    if (!v)
        invalid(text, ValueKind::Number);
    return *v;
}

std::optional<double> fileNumber(const QString &text)
{
    try {
        return regionalNumber(text);
    } catch (const ConversionError &) {
    }
    // One separator, and not followed by three digits, where a thousands
    // separator would be.
    const QString t = text.trimmed();
    const auto lone = [&t](QChar separator, QChar other) {
        const qsizetype at = t.indexOf(separator);
        return at >= 0 && t.count(separator) == 1 && !t.contains(other) && t.size() - at - 1 != 3;
    };
    const bool decimalComma = lone(u',', u'.');
    const bool decimalPoint = lone(u'.', u',');
    if (decimalComma || decimalPoint) {
        QLocale written = decimalPoint ? QLocale::c() : QLocale(QLocale::Portuguese, QLocale::Brazil);
        written.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double v = written.toDouble(t, &ok);
        if (ok && std::isfinite(v))
            return v;
    }
    invalid(text, ValueKind::Number);
}

QDate regionalDate(const QString &text)
{
    return readValue<QDate>(text, ValueKind::Date, readRegionalDate);
}

QTime regionalTime(const QString &text)
{
    return readValue<QTime>(text, ValueKind::Time, readRegionalTime);
}

QDate isoOrRegionalDate(const QString &text)
{
    return readValue<QDate>(text, ValueKind::Date, [](const QString &t) {
        QDate d = isoDate(t);
        if (!d.isValid() && looksIsoDateTime(t))
            d = QDateTime::fromString(t, Qt::ISODateWithMs).date();
        return d.isValid() ? d : readRegionalDate(t);
    });
}

QTime isoOrRegionalTime(const QString &text)
{
    const QTime v = readValue<QTime>(text, ValueKind::Time, [](const QString &t) {
        QTime iso = isoTime(t);
        if (!iso.isValid())
            iso = QTime::fromString(t, Qt::ISODateWithMs);
        if (!iso.isValid() && looksIsoDateTime(t))
            iso = QDateTime::fromString(t, Qt::ISODateWithMs).time();
        return iso.isValid() ? iso : readRegionalTime(t);
    });
    return v.isValid() ? QTime(v.hour(), v.minute(), v.second()) : v; // to the second, as stored
}

// ---- the store's form ------------------------------------------------------

QString isoDateText(const QDate &date)
{
    return date.isValid() ? date.toString(u"yyyy-MM-dd"_s) : QString();
}

QString isoTimeText(const QTime &time)
{
    return time.isValid() ? time.toString(u"HH:mm:ss"_s) : QString();
}

QDate isoDate(QStringView s)
{
    if (s.size() != 10 || s[4] != u'-' || s[7] != u'-')
        return {};
    const int y = fixedDigits(s, 0, 4);
    const int m = fixedDigits(s, 5, 2);
    const int d = fixedDigits(s, 8, 2);
    return y < 0 || m < 0 || d < 0 ? QDate() : QDate(y, m, d);
}

QTime isoTime(QStringView s)
{
    if ((s.size() != 8 && s.size() != 5) || s[2] != u':' || (s.size() == 8 && s[5] != u':'))
        return {};
    const int h = fixedDigits(s, 0, 2);
    const int m = fixedDigits(s, 3, 2);
    const int sec = s.size() == 8 ? fixedDigits(s, 6, 2) : 0;
    return h < 0 || m < 0 || sec < 0 ? QTime() : QTime(h, m, sec);
}

// ---- display ----------------------------------------------------------------

QString numberText(double value, const QString &pattern)
{
    if (pattern.isEmpty())
        return generalNumber(value);
    const auto placeholder = [](QChar c) { return c == u'0' || c == u'#'; };
    qsizetype first = 0;
    while (first < pattern.size() && !placeholder(pattern[first]))
        ++first;
    if (first == pattern.size())
        return withoutQuotes(pattern);
    qsizetype last = pattern.size() - 1;
    while (!placeholder(pattern[last]))
        --last;
    const QStringView number = QStringView(pattern).mid(first, last - first + 1);

    int decimals = 0;
    int required = 0;
    const qsizetype dot = number.indexOf(u'.');
    if (dot >= 0) {
        for (qsizetype i = dot + 1; i < number.size() && placeholder(number[i]); ++i) {
            ++decimals;
            if (number[i] == u'0')
                required = decimals;
        }
    }
    QLocale locale;
    if (!number.contains(u','))
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    double v = rounded(value, decimals);
    if (v == 0)
        v = 0.0; // no "-0,00"
    QString text = locale.toString(v, 'f', decimals);
    if (required < decimals) {
        const QString point = locale.decimalPoint();
        qsizetype keep = text.size();
        for (int k = decimals; k > required && text[keep - 1] == u'0'; --k)
            --keep;
        text.truncate(keep);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return withoutQuotes(pattern.left(first)) + text + withoutQuotes(pattern.mid(last + 1));
}

QString generalNumber(double value)
{
    const QLocale locale;
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value > 0 ? u"INF"_s : u"-INF"_s;
    if (value == 0)
        return u"0"_s;

    Decimal d = decimal15(std::fabs(value));
    QByteArray &digits = d.digits;
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    const int exponent = d.exponent;

    const QString point = locale.decimalPoint();
    QString text;
    if (exponent >= 15 || exponent < -5) {
        text = QString::fromLatin1(digits.left(1));
        if (digits.size() > 1)
            text += point + QString::fromLatin1(digits.mid(1));
        text += u'E';
        if (exponent < 0)
            text += u'-';
        text += QString::number(std::abs(exponent));
    } else if (exponent < 0) {
        text = u'0' + point + QString(-exponent - 1, u'0') + QString::fromLatin1(digits);
    } else if (digits.size() <= exponent + 1) {
        text = QString::fromLatin1(digits) + QString(exponent + 1 - digits.size(), u'0');
    } else {
        text = QString::fromLatin1(digits.left(exponent + 1)) + point
            + QString::fromLatin1(digits.mid(exponent + 1));
    }
    return value < 0 ? locale.negativeSign() + text : text;
}

QString dateText(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return {};
    return pattern.isEmpty() ? QLocale().toString(date, QLocale::ShortFormat)
                             : formatDateTime(date, {}, pattern);
}

QString timeText(const QTime &time, const QString &pattern)
{
    if (!time.isValid())
        return {};
    return formatDateTime({}, time, pattern.isEmpty() ? u"hh:nn:ss"_s : pattern);
}

// ---- listings ---------------------------------------------------------------

QString dateTimeText(const QDateTime &at)
{
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(at.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(at.time(), timeFormat.trimmed());
}

QString plainDate(const QDate &date)
{
    return isoDateText(date);
}

QString plainTime(const QTime &time)
{
    return time.isValid() ? time.toString(u"HH:mm"_s) : QString();
}

QString plainNumber(const std::optional<double> &value)
{
    if (!value)
        return {};
    const double v = *value == 0 ? 0.0 : *value; // no "-0"
    return QLocale::c().toString(v, 'f', QLocale::FloatingPointShortest);
}

void applyRegionalDefaults()
{
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}
