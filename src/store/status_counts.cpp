#include "store/status_counts.h"

#include "store/schema.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

QString wallClockText(const QDateTime &at)
{
    return at.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

} // namespace

PendingQuotations countPendingQuotations(Database &db, const QDateTime &from, const QDateTime &until)
{
    // The unsent quotations are a few among years of sent ones: their
    // partial index holds them, with every column read here. The bounds on
    // DataValidade decide every day strictly between the two bounds' days;
    // the deadline is put together only on those two days. A time written
    // without seconds is read as the program reads it elsewhere ("14:30" is
    // 14:30:00).
    Statement st(db,
        u"SELECT COUNT(*), COALESCE(SUM(TipoStatus = 'Baixada'), 0), COALESCE(SUM(TipoStatus = 'Enviar'), 0) "
        "FROM CotaLiberadas WHERE %1 AND length(DataValidade) = 10 AND DataValidade >= ?1 "
        "AND DataValidade <= ?2 AND ((DataValidade > ?1 AND DataValidade < ?2) OR (DataValidade || ' ' || "
        "CASE length(AteHora) WHEN 8 THEN AteHora WHEN 5 THEN AteHora || ':00' ELSE '23:59:59' END) "
        "BETWEEN ?3 AND ?4)"_s.arg(unsentQuotationCondition()));
    // Without a lower bound, one below every date a store can hold. The
    // upper bound is exclusive: the last second before it.
    st.bind(1, from.isValid() ? from.date().toString(Qt::ISODate) : u"0000-01-01"_s);
    st.bind(2, until.date().toString(Qt::ISODate));
    st.bind(3, from.isValid() ? wallClockText(from) : u"0000-01-01 00:00:00"_s);
    st.bind(4, wallClockText(until.addSecs(-1)));
    PendingQuotations out;
    if (st.step()) {
        out.total = st.columnInt(0);
        out.baixada = st.columnInt(1);
        out.enviar = st.columnInt(2);
    }
    return out;
}

qint64 countOrdersWithStatus(Database &db, const QString &status)
{
    Statement st(db, u"SELECT COUNT(*) FROM PedidosLiberados WHERE TipoStatus = ?"_s);
    st.bind(1, status);
    return st.step() ? st.columnInt(0) : 0;
}
