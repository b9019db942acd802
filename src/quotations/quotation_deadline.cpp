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

std::optional<QDateTime> pendingDeadline(const ReleasedQuotationRow &quotation)
{
    if (!awaitsAnswer(quotation.tipoStatus))
        return std::nullopt;
    return quotationDeadline(quotation.dataValidade, quotation.ateHora);
}

GridColumn prazoColumn(int width, std::function<std::optional<QDateTime>(int row)> deadline,
    std::function<QVariant(int row, int role)> style)
{
    GridColumn column { u"Prazo"_s, width, {} };
    column.data = [deadline = std::move(deadline), style = std::move(style)](int row, int role) -> QVariant {
        if (role == Qt::UserRole) {
            const std::optional<QDateTime> at = deadline(row);
            return at ? at->toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
        }
        const bool styled = role == Qt::BackgroundRole || role == Qt::ForegroundRole || role == Qt::FontRole;
        QVariant answer;
        if (role == Qt::DisplayRole || role == Qt::ForegroundRole) {
            if (const std::optional<QDateTime> at = deadline(row)) {
                const qint64 minutes = minutesLeft(*at, Clock::current().now());
                if (role == Qt::DisplayRole)
                    answer = prazoText(minutes);
                else if (prazoUrgent(minutes))
                    answer = QBrush(Qt::red);
            }
        }
        if (answer.isValid() || !styled || !style)
            return answer;
        return style(row, role);
    };
    return column;
}

GridColumn prazoColumn(
    int width, const ReleasedQuotationSet &quotations, std::function<QVariant(int row, int role)> style)
{
    return prazoColumn(
        width, [&quotations](int row) { return pendingDeadline(quotations.at(row)); }, std::move(style));
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
