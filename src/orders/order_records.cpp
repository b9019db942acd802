#include "orders/order_records.h"

#include "common/regional.h"
#include "common/text.h"

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Text, Date, Number };

struct Position {
    const char *column;
    Kind kind;
};

constexpr std::array<Position, OrderItemPositions> itemPositions { {
    { "CONTATO", Kind::Text },
    { "PEDIDO", Kind::Text },
    { "DATA", Kind::Date },
    { "PRODUTO", Kind::Text },
    { "PRODFABR", Kind::Text },
    { "DESCRICAO", Kind::Text },
    { "UN", Kind::Text },
    { "APLICACAO", Kind::Text },
    { "MARCA", Kind::Text },
    { "QTDE", Kind::Number },
    { "VALOR", Kind::Number },
    { "CONDPGTO", Kind::Text },
    { "QTDELOJA1", Kind::Number },
    { "QTDELOJA2", Kind::Number },
    { "QTDELOJA3", Kind::Number },
    { "NOMELOJA1", Kind::Text },
    { "NOMELOJA2", Kind::Text },
    { "NOMELOJA3", Kind::Text },
    { "SIMILARES", Kind::Text },
    { "OBS", Kind::Text },
} };

void requireFields(const QStringList &fields, int needed)
{
    if (fields.size() < needed)
        throw ConversionError(missingFieldsText(fields.size(), needed));
}

} // namespace

QString releasedPedido(const QStringList &fields)
{
    return trimControls(fields.value(0));
}

ReleasedOrderLine readReleasedOrder(const QStringList &fields)
{
    requireFields(fields, ReleasedOrderFields);
    return { releasedPedido(fields), fields.at(1), regionalDate(fields.at(2)), regionalTime(fields.at(3)) };
}

const std::array<QString, OrderItemPositions> &orderItemColumns()
{
    static const auto columns = [] {
        std::array<QString, OrderItemPositions> names;
        for (int i = 0; i < OrderItemPositions; ++i)
            names[i] = QLatin1String(itemPositions[i].column);
        return names;
    }();
    return columns;
}

QVariantList readOrderItem(const QStringList &fields)
{
    requireFields(fields, OrderItemPositions);
    QVariantList values;
    values.reserve(OrderItemPositions);
    for (int i = 0; i < OrderItemPositions; ++i) {
        const QString &text = fields.at(i);
        switch (itemPositions[i].kind) {
        case Kind::Text:
            values << text;
            break;
        case Kind::Date: {
            const QDate d = regionalDate(text);
            values << (d.isValid() ? QVariant(d) : QVariant());
            break;
        }
        case Kind::Number:
            values << requiredNumber(text);
            break;
        }
    }
    return values;
}
