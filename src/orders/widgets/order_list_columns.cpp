#include "orders/widgets/order_list_columns.h"

using namespace Qt::StringLiterals;

QList<ModelColumn> orderListColumns(const std::array<int, 6> &widths)
{
    static const std::array<std::pair<QString, QString>, 6> columns { {
        { u"Pedido"_s, u"Pedido"_s },
        { u"TipoStatus"_s, u"TipoStatus"_s },
        { u"DataLiberado"_s, u"Dt Liberado"_s },
        { u"HoraLib"_s, u"Hora Liberado"_s },
        { u"DataBaixado"_s, u"Dt Baixado"_s },
        { u"HoraBaixa"_s, u"Hora Baixado"_s },
    } };
    QList<ModelColumn> out;
    for (size_t i = 0; i < columns.size(); ++i)
        out.append({ columns[i].first, columns[i].second, widths[i], {}, true });
    return out;
}
