#include "quotations/submission_record.h"

#include "common/text.h"
#include "store/field.h"

#include <QByteArray>
#include <QLocale>
#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

QString generalForm(double value)
{
    const QLocale locale;
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

QString wireNumber(std::optional<double> value)
{
    if (!value)
        return {};
    QString text = generalForm(*value);
    text.replace(u',', u'.');
    return text;
}

QString itemRecord(const SubmissionItem &item)
{
    const QStringList fields{
        item.contato,
        item.cotacao,
        formatValue(item.data, FieldType::Date, u"mm/dd/yyyy"_s),
        item.produto,
        wireNumber(item.qtde),
        wireNumber(item.valor),
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
