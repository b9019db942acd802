#pragma once

#include <QDateTime>
#include <QString>

class Database;

// Released quotations not yet "Enviada" (in any letter case) whose deadline
// lies in a span of time, and how many of them stand at each step of their
// answer.
struct PendingQuotations {
    qint64 total = 0;
    qint64 baixada = 0; // items downloaded, to be priced
    qint64 enviar = 0; // priced, to be sent
    // The rest are not downloaded yet (as released, "ABERTA", or a status
    // the server sent that the program does not set).
};

// The deadline is DataValidade at AteHora, or at the end of that day
// (23:59:59) when AteHora is empty; a quotation without DataValidade has
// none and is never counted. Counts deadlines at or after from (no lower
// bound when from is invalid) and before until, both read as wall-clock
// times, as the dates are stored.
PendingQuotations countPendingQuotations(Database &db, const QDateTime &from, const QDateTime &until);

// Released orders whose TipoStatus is exactly status (case counts, as the
// orders window filters them).
qint64 countOrdersWithStatus(Database &db, const QString &status);
