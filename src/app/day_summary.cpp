#include "app/day_summary.h"

#include "app/app_context.h"
#include "common/clock.h"
#include "store/data_module.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 SecondsPerDay = 24 * 60 * 60;

QString counted(qint64 n, const QString &none, const QString &one, const QString &many)
{
    if (n == 0)
        return none;
    return (n == 1 ? one : many).arg(QLocale().toString(n));
}

QString quotationWindow(const PendingQuotations &q)
{
    if (q.total > q.baixada + q.enviar)
        return u"TFCotaLib"_s;
    if (q.baixada == 0 && q.enviar > 0)
        return u"TEnviaCotacao"_s;
    return u"TPrecoCota"_s;
}

} // namespace

DayCounts countDay(Database &db, const QDateTime &now)
{
    DayCounts out;
    out.dueSoon = countPendingQuotations(db, now, now.addSecs(SecondsPerDay));
    out.overdue = countPendingQuotations(db, QDateTime(), now);
    out.ordersToAttend = countOrdersWithStatus(db, u"Baixado"_s);
    return out;
}

std::optional<DayCounts> countDay(AppContext &app)
{
    if (!app.storeOpen())
        return std::nullopt;
    return countDay(app.dm().Banco(), Clock::current().now());
}

QString dayCountText(DayCount which, const DayCounts &counts)
{
    switch (which) {
    case DayCount::DueSoon:
        return counted(counts.dueSoon.total, u"Nenhuma cotação vence em 24 horas"_s,
            u"%1 cotação vence em 24 horas"_s, u"%1 cotações vencem em 24 horas"_s);
    case DayCount::Overdue:
        return counted(counts.overdue.total, u"Nenhuma cotação vencida sem envio"_s,
            u"%1 cotação vencida sem envio"_s, u"%1 cotações vencidas sem envio"_s);
    case DayCount::OrdersToAttend:
        return counted(counts.ordersToAttend, u"Nenhum pedido aguarda atendimento"_s,
            u"%1 pedido aguarda atendimento"_s, u"%1 pedidos aguardam atendimento"_s);
    }
    return {};
}

QStringList dayCountLines(const DayCounts &counts)
{
    // Plain digits: the lines are read by scripts as well as by people.
    return { u"vencem em 24 horas: %1"_s.arg(counts.dueSoon.total),
        u"vencidas sem envio: %1"_s.arg(counts.overdue.total),
        u"pedidos a atender: %1"_s.arg(counts.ordersToAttend) };
}

QString dayCountWindow(DayCount which, const DayCounts &counts)
{
    switch (which) {
    case DayCount::DueSoon:
        return quotationWindow(counts.dueSoon);
    case DayCount::Overdue:
        return quotationWindow(counts.overdue);
    case DayCount::OrdersToAttend:
        break;
    }
    return u"TPedidosBaixados"_s;
}
