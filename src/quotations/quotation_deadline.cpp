#include "quotations/quotation_deadline.h"

#include "common/clock.h"
#include "common/regional.h"
#include "store/sqlcipher.h"

#include <QBrush>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MinutesPerDay = 24 * 60;

std::optional<QDateTime> deadlineOf(const Dataset &quotations, int row)
{
    const int validade = quotations.fieldIndex(u"DataValidade"_s);
    const int hora = quotations.fieldIndex(u"AteHora"_s);
    if (validade < 0 || hora < 0)
        return std::nullopt;
    return quotationDeadline(quotations.value(row, validade).toDate(), quotations.value(row, hora).toTime());
}

// The deadline of a row still awaiting its answer; nothing for the others.
std::optional<QDateTime> pendingDeadline(const Dataset &quotations, int row)
{
    const int status = quotations.fieldIndex(u"TipoStatus"_s);
    if (status < 0 || !awaitsAnswer(quotations.value(row, status).toString()))
        return std::nullopt;
    return deadlineOf(quotations, row);
}

} // namespace

std::optional<QDateTime> quotationDeadline(const QDate &dataValidade, const QTime &ateHora)
{
    if (!dataValidade.isValid())
        return std::nullopt;
    return QDateTime(dataValidade, ateHora.isValid() ? ateHora : QTime(23, 59, 59));
}

qint64 minutesLeft(const QDateTime &deadline, const QDateTime &now)
{
    const qint64 seconds = now.secsTo(deadline);
    return seconds >= 0 ? seconds / 60 : -((59 - seconds) / 60);
}

QString prazoText(qint64 minutes)
{
    if (minutes < 0)
        return u"vencida"_s;
    if (minutes >= MinutesPerDay)
        return u"%1 d %2 h"_s.arg(minutes / MinutesPerDay).arg(minutes % MinutesPerDay / 60);
    if (minutes >= 60)
        return u"%1 h %2 min"_s.arg(minutes / 60).arg(minutes % 60);
    return u"%1 min"_s.arg(minutes);
}

bool prazoUrgent(qint64 minutes)
{
    return minutes < MinutesPerDay;
}

bool awaitsAnswer(const QString &tipoStatus)
{
    return tipoStatus.compare(u"Enviada"_s, Qt::CaseInsensitive) != 0;
}

ModelColumn prazoColumn(int width)
{
    ModelColumn column { {}, u"Prazo"_s, width, {}, true };
    column.compute = [](const Dataset &quotations, int row, int role) -> QVariant {
        if (role == Qt::UserRole) {
            const std::optional<QDateTime> at = pendingDeadline(quotations, row);
            return at ? at->toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
        }
        if (role != Qt::DisplayRole && role != Qt::ForegroundRole)
            return {};
        const std::optional<QDateTime> at = pendingDeadline(quotations, row);
        if (!at)
            return {};
        const qint64 minutes = minutesLeft(*at, Clock::current().now());
        if (role == Qt::DisplayRole)
            return prazoText(minutes);
        return prazoUrgent(minutes) ? QVariant(QBrush(Qt::red)) : QVariant();
    };
    return column;
}

QList<QuotationDeadline> pendingDeadlines(Database &db)
{
    Statement st(
        db, u"SELECT Cotacao, TipoStatus, DataValidade, AteHora FROM CotaLiberadas ORDER BY Cotacao"_s);
    QList<QuotationDeadline> out;
    while (st.step()) {
        const QString status = st.columnText(1);
        if (!awaitsAnswer(status))
            continue;
        out.append({ st.columnText(0), status,
            quotationDeadline(isoDate(st.columnText(2)), isoTime(st.columnText(3))) });
    }
    std::stable_sort(out.begin(), out.end(), [](const QuotationDeadline &a, const QuotationDeadline &b) {
        if (a.deadline && b.deadline)
            return *a.deadline < *b.deadline;
        return a.deadline.has_value() && !b.deadline.has_value();
    });
    return out;
}
