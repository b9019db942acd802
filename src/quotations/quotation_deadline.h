#pragma once

#include "store/released_quotation_rows.h"
#include "ui/row_model.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class Database;

// A quotation can be answered until DataValidade at AteHora, or to the end
// of that day when AteHora is empty; missing it loses the sale. Nothing
// without a DataValidade.
std::optional<QDateTime> quotationDeadline(const QDate &dataValidade, const QTime &ateHora);

// Whole minutes left until the deadline, rounded down: negative once past.
qint64 minutesLeft(const QDateTime &deadline, const QDateTime &now);

// The time left as the column "Prazo" shows it: "3 d 4 h", "5 h 20 min",
// "45 min", "vencida" once past.
QString prazoText(qint64 minutes);
// Under 24 hours left, or past: drawn red.
bool prazoUrgent(qint64 minutes);

// A quotation not yet "Enviada" (in any letter case) still awaits its answer.
bool awaitsAnswer(const QString &tipoStatus);

// The deadline of a quotation still awaiting its answer; nothing for the others.
std::optional<QDateTime> pendingDeadline(const ReleasedQuotationRow &quotation);

// The column "Prazo" of a grid over quotations: the time left by the
// settable clock for every quotation with a pending deadline (given by the
// row's position), in red when urgent. Qt::UserRole gives the deadline to
// sort by, quotations without one last. style answers the roles the column
// leaves open (the row's own colours).
GridColumn prazoColumn(int width, std::function<std::optional<QDateTime>(int row)> deadline,
    std::function<QVariant(int row, int role)> style = {});
// The same over a set of quotations.
GridColumn prazoColumn(
    int width, const ReleasedQuotationSet &quotations, std::function<QVariant(int row, int role)> style = {});

struct QuotationDeadline {
    QString cotacao;
    QString tipoStatus;
    std::optional<QDateTime> deadline;
};

// Every quotation in CotaLiberadas not yet "Enviada", the soonest deadline
// first and those without one last.
QList<QuotationDeadline> pendingDeadlines(Database &db);
