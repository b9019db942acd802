#include "orders/widgets/order_list_columns.h"

#include "common/regional.h"

using namespace Qt::StringLiterals;

namespace {

enum Column { Pedido, TipoStatus, DataLiberado, HoraLib, DataBaixado, HoraBaixa };

QString shownDate(const QDate &date)
{
    return date.isValid() ? dateText(date) : QString();
}

QString shownTime(const QTime &time)
{
    return time.isValid() ? timeText(time) : QString();
}

QString cellText(const ReleasedOrderRow &r, Column column)
{
    switch (column) {
    case Pedido:
        return r.pedido;
    case TipoStatus:
        return r.tipoStatus;
    case DataLiberado:
        return shownDate(r.dataLiberado);
    case HoraLib:
        return shownTime(r.horaLib);
    case DataBaixado:
        return shownDate(r.dataBaixado);
    case HoraBaixa:
        return shownTime(r.horaBaixa);
    }
    return {};
}

} // namespace

QList<GridColumn> orderListColumns(const RowSet<ReleasedOrderRow> &orders, const std::array<int, 6> &widths)
{
    static const std::array<QString, 6> titles { u"Pedido"_s, u"TipoStatus"_s, u"Dt Liberado"_s,
        u"Hora Liberado"_s, u"Dt Baixado"_s, u"Hora Baixado"_s };
    QList<GridColumn> out;
    for (int c = Pedido; c <= HoraBaixa; ++c) {
        out.append({ titles[size_t(c)], widths[size_t(c)],
            rowCells<ReleasedOrderRow>(orders, [c](const ReleasedOrderRow &r, int role) {
                return role == Qt::DisplayRole ? QVariant(cellText(r, Column(c))) : QVariant();
            }) });
    }
    return out;
}
