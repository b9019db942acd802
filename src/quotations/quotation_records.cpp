#include "quotations/quotation_records.h"

#include "common/regional.h"
#include "common/text.h"

#include <QStringList>

namespace {

enum class Kind { Text, Trimmed, Date, Number, Application, Unread };

struct Position {
    const char *column;
    Kind kind;
};

constexpr std::array<Position, QuotationItemPositions> itemPositions { {
    { "CONTATO", Kind::Trimmed },
    { "COTACAO", Kind::Text },
    { "DATA", Kind::Date },
    { "PRODUTO", Kind::Text },
    { "PRODFABR", Kind::Text },
    { "DESCRICAO", Kind::Text },
    { "UN", Kind::Text },
    { "APLICACAO", Kind::Application },
    { "MARCA", Kind::Text },
    { "QTDE", Kind::Number },
    { "", Kind::Unread },
    { "STATUS", Kind::Text },
    { "TIPOSTATUS", Kind::Text },
    { "COTACAOAGRUPADAS", Kind::Text },
    { "COTACAOLOJA1", Kind::Text },
    { "COTACAOLOJA2", Kind::Text },
    { "COTACAOLOJA3", Kind::Text },
    { "QTDELOJA1", Kind::Number },
    { "QTDELOJA2", Kind::Number },
    { "QTDELOJA3", Kind::Number },
    { "CONDPGTO", Kind::Text },
    { "SIMILARES", Kind::Text },
    { "OBS", Kind::Text },
    { "NOMELOJA1", Kind::Text },
    { "NOMELOJA2", Kind::Text },
    { "NOMELOJA3", Kind::Text },
} };

QVariant dateValue(const QString &text)
{
    const QDate d = regionalDate(text);
    return d.isValid() ? QVariant(d) : QVariant();
}

QVariant numberValue(const QString &text)
{
    const auto v = regionalNumber(text);
    return v ? QVariant(*v) : QVariant();
}

} // namespace

ReleasedQuotationLine readReleasedQuotation(const QStringList &fields)
{
    if (fields.size() < ReleasedQuotationFields)
        throw ConversionError(missingFieldsText(fields.size(), ReleasedQuotationFields));
    ReleasedQuotationLine r;
    r.dataValidade = regionalDate(fields.at(0));
    r.cotacao = fields.at(1);
    r.ateHora = regionalTime(fields.at(2));
    r.tipoStatus = fields.at(3);
    r.dataLiberada = regionalDate(fields.at(4));
    return r;
}

const std::array<QString, QuotationItemPositions> &quotationItemColumns()
{
    static const auto columns = [] {
        std::array<QString, QuotationItemPositions> names;
        for (int i = 0; i < QuotationItemPositions; ++i)
            names[i] = QLatin1String(itemPositions[i].column);
        return names;
    }();
    return columns;
}

QuotationItemLine readQuotationItem(const QStringList &fields)
{
    if (fields.size() < QuotationItemPositions)
        throw ConversionError(missingFieldsText(fields.size(), QuotationItemPositions));
    QuotationItemLine item;
    for (int i = 0; i < QuotationItemPositions; ++i) {
        const QString &text = fields.at(i);
        switch (itemPositions[i].kind) {
        case Kind::Text:
            item.values[i] = text;
            break;
        case Kind::Trimmed:
            item.values[i] = trimControls(text);
            break;
        case Kind::Date:
            item.values[i] = dateValue(text);
            break;
        case Kind::Number:
            item.values[i] = numberValue(text);
            break;
        case Kind::Application:
            item.values[i] = aplicacaoText(text);
            break;
        case Kind::Unread:
            break;
        }
    }
    return item;
}

QString aplicacaoText(const QString &stored)
{
    QString shown = stored;
    shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return shown;
}
