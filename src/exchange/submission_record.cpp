#include "exchange/submission_record.h"

#include "common/text.h"

#include <QByteArray>
#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

QString regionalDateSeparator(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    // The first character between the day, month and year fields; quoted
    // literals of odd formats are skipped with the letters.
    for (const QChar c : format) {
        if (!c.isLetter() && c != u'\'')
            return QString(c);
    }
    return u"/"_s;
}

QString regionalDate(const QDate &date, const QString &pattern, const QLocale &locale)
{
    if (!date.isValid())
        return {};
    QString text = date.toString(pattern);
    const QString separator = regionalDateSeparator(locale);
    if (separator != "/"_L1)
        text.replace(u'/', separator);
    return text;
}

QString generalNumber(double value, const QLocale &locale)
{
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value > 0 ? u"INF"_s : u"-INF"_s;
    if (value == 0)
        return u"0"_s;

    // "d.dddddddddddddde±x": 15 significant digits, correctly rounded.
    const QByteArray e = QByteArray::number(std::fabs(value), 'e', 14);
    const qsizetype mark = e.indexOf('e');
    QByteArray digits = e.left(1) + e.mid(2, mark - 2);
    const int exponent = e.mid(mark + 1).toInt();
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);

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
        text = QString::fromLatin1(digits.left(exponent + 1)) + point + QString::fromLatin1(digits.mid(exponent + 1));
    }
    return value < 0 ? locale.negativeSign() + text : text;
}

QString wireNumber(std::optional<double> value, const QLocale &locale)
{
    if (!value)
        return {};
    QString text = generalNumber(*value, locale);
    text.replace(u',', u'.');
    return text;
}

QString itemRecord(const SubmissionItem &item, const QLocale &locale)
{
    const QStringList fields{
        item.contato,
        item.cotacao,
        regionalDate(item.data, u"MM/dd/yyyy"_s, locale),
        item.produto,
        wireNumber(item.qtde, locale),
        wireNumber(item.valor, locale),
        item.condPgto,
        item.similares,
        item.obs,
    };
    return fields.join(u'|');
}

std::optional<QString> verificationRefusal(const QString &answer)
{
    const QString code = trimControls(answer);
    if (code == "OK"_L1)
        return std::nullopt;
    if (code == "EDM"_L1)
        return u"Data de entrega está maior que a data limite. Operação Cancelada...."_s;
    if (code == "EHM"_L1)
        return u"Hora de entrega maior que a hora limite. Operação Cancelada...."_s;
    if (code == "CF"_L1)
        return u"Esta cotação já está Fechada.... Operação Cancelada..."_s;
    if (code.startsWith(u'*'))
        return code.mid(1);
    return u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s;
}
