#pragma once

#include "store/status_counts.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

class AppContext;
class Database;

// The day at a glance: what waits for the supplier, counted the same way
// for the main window and the command-line tool.
struct DayCounts {
    // Not yet sent, with a deadline from now to 24 hours on: the ones the
    // column "Prazo" draws red but not "vencida".
    PendingQuotations dueSoon;
    // Not yet sent, with the deadline passed ("vencida").
    PendingQuotations overdue;
    // Orders downloaded ("Baixado") and not yet attended.
    qint64 ordersToAttend = 0;
};

// In the order the main window shows them, left to right.
enum class DayCount { DueSoon, Overdue, OrdersToAttend };

// One small read per count; nothing goes to the server.
DayCounts countDay(Database &db, const QDateTime &now);
// The program's own counts, by the settable clock; nothing when its store
// did not open.
std::optional<DayCounts> countDay(AppContext &app);

// "1 cotação vence em 24 horas", "Nenhum pedido aguarda atendimento", ...
QString dayCountText(DayCount which, const DayCounts &counts);

// The tool's lines, one per count: "vencem em 24 horas: 3".
QStringList dayCountLines(const DayCounts &counts);

// The working window that handles a count. For quotations, the window of
// the first step still open for any of them: fetching their items, pricing,
// then sending; the price entry when there are none.
QString dayCountWindow(DayCount which, const DayCounts &counts);
