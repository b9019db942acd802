#include "quotations/submission_record.h"

#include "common/regional.h"
#include "common/text.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString wireNumber(std::optional<double> value)
{
    if (!value)
        return {};
    QString text = generalNumber(*value);
    text.replace(u',', u'.');
    return text;
}

QString itemRecord(const SubmissionItem &item)
{
    const QStringList fields {
        item.contato,
        item.cotacao,
        dateText(item.data, u"mm/dd/yyyy"_s),
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
