#include "store/released_quotation_rows.h"

#include "common/regional.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

enum Column { RowId, Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada };

std::vector<ReleasedQuotationRow> readReleased(
    const Database &db, const std::optional<QString> &tipoStatus, const QList<qint64> *ids)
{
    db.requireOpen();
    QStringList where;
    QVariantList values;
    if (tipoStatus) {
        where << u"TipoStatus = ?"_s;
        values << *tipoStatus;
    }
    if (ids) {
        where << u"rowid IN (%1)"_s.arg(boundMarks(ids->size()));
        for (qint64 id : *ids)
            values << id;
    }
    QString sql
        = u"SELECT rowid, Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada FROM CotaLiberadas"_s;
    if (!where.isEmpty())
        sql += u" WHERE "_s + where.join(u" AND "_s);
    Statement st(db, sql + u" ORDER BY Cotacao, rowid"_s);
    st.bindAll(values);
    std::vector<ReleasedQuotationRow> rows;
    while (st.step()) {
        rows.push_back({ st.columnInt(RowId), storedText(st, Cotacao), storedText(st, TipoStatus),
            isoDate(storedText(st, DataValidade)), isoTime(storedText(st, AteHora)),
            isoDate(storedText(st, DataLiberada)) });
    }
    return rows;
}

} // namespace

ReleasedQuotationSet::Reader releasedQuotationReader(std::optional<QString> tipoStatus)
{
    return [tipoStatus = std::move(tipoStatus)](
               Database &db, const QList<qint64> *ids) { return readReleased(db, tipoStatus, ids); };
}

bool releasedQuotationBefore(const ReleasedQuotationRow &a, const ReleasedQuotationRow &b)
{
    return compareValues(a.cotacao, b.cotacao, FieldType::Text) < 0;
}

bool sameCotacaoIgnoringCase(const ReleasedQuotationRow &row, const QString &cotacao)
{
    return row.cotacao.toCaseFolded() == cotacao.toCaseFolded();
}

bool locateCotacao(ReleasedQuotationSet &rows, const QString &cotacao)
{
    static const int size = [] {
        const TableSchema &schema = cotaLiberadasSchema();
        return schema.columns[schema.columnIndex(u"Cotacao"_s)].size;
    }();
    const QString wanted = cotacao.left(size).toCaseFolded();
    return rows.locate([&](const ReleasedQuotationRow &row) { return row.cotacao.toCaseFolded() == wanted; });
}
