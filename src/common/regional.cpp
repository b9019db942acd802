#include "common/regional.h"

#include <QLocale>

#include <cmath>

ConversionError::ConversionError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

namespace {

// Day and month of one or two digits, as typed by people and old servers.
QString lenientPattern(QString format)
{
    format.replace(QLatin1String("dd"), QLatin1String("d"));
    format.replace(QLatin1String("MM"), QLatin1String("M"));
    format.replace(QLatin1String("HH"), QLatin1String("H"));
    format.replace(QLatin1String("mm"), QLatin1String("m"));
    format.replace(QLatin1String("ss"), QLatin1String("s"));
    return format;
}

QString invalid(const QString &text, const char *what)
{
    return QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what));
}

} // namespace

QDate regionalDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (const QString &pattern : {format, lenientPattern(format)}) {
        const QDate d = locale.toDate(t, pattern);
        if (d.isValid())
            return d;
    }
    throw ConversionError(invalid(text, "date"));
}

QTime regionalTime(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QLocale locale;
    const QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    const QString withSeconds = shortFormat.contains(QLatin1Char('s'))
        ? shortFormat
        : QString(shortFormat).replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    for (const QString &pattern : {shortFormat, withSeconds, lenientPattern(shortFormat), lenientPattern(withSeconds)}) {
        const QTime v = locale.toTime(t, pattern);
        if (v.isValid())
            return v;
    }
    throw ConversionError(invalid(text, "time"));
}

std::optional<double> regionalNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        throw ConversionError(invalid(text, "floating point value"));
    return v;
}

QString numberText(double value, const QString &pattern)
{
    QLocale locale;
    locale.setNumberOptions(pattern.contains(u',') ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    if (pattern.isEmpty())
        return locale.toString(value, 'g', 15);
    const qsizetype point = pattern.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1);
    if (std::fabs(value) * std::pow(10.0, decimals) < 0.5)
        value = 0.0; // no "-0,00"
    return locale.toString(value, 'f', decimals);
}

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
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString plainTime(const QTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : QString();
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
