#include "store/item_writes.h"

#include "store/schema.h"

using namespace Qt::StringLiterals;

bool setColumnAt(Database &db, const TableSchema &table, int column, qint64 rowid, const QVariant &value)
{
    const Field &f = table.columns[column];
    const QVariant stored = f.storable(value);
    Statement update(db, u"UPDATE \"%1\" SET \"%2\" = ? WHERE rowid = ?"_s.arg(table.name, f.name));
    update.bind(1, stored);
    update.bind(2, rowid);
    update.step();
    return db.changes() > 0;
}

QuotationItemWrites::QuotationItemWrites(Database &db)
    : m_db(db)
{
}

bool QuotationItemWrites::run(
    std::optional<Statement> &st, const QString &sql, qint64 rowid, const QVariantList &values)
{
    if (!st)
        st.emplace(m_db, sql);
    int slot = 0;
    for (const QVariant &value : values)
        st->bind(++slot, value);
    st->bind(slot + 1, rowid);
    st->step();
    st->reset();
    return m_db.changes() > 0;
}

bool QuotationItemWrites::setPrice(qint64 rowid, const QVariant &valor)
{
    return run(m_price, u"UPDATE CotacaoFornc SET VALOR = ? WHERE rowid = ?"_s, rowid,
        { cotacaoForncField(CotacaoForncColumn::VALOR).coerce(valor) });
}

bool QuotationItemWrites::setPriceAndSimilares(qint64 rowid, const QVariant &valor, const QVariant &similares)
{
    return run(m_priceAndSimilares, u"UPDATE CotacaoFornc SET VALOR = ?, SIMILARES = ? WHERE rowid = ?"_s,
        rowid,
        { cotacaoForncField(CotacaoForncColumn::VALOR).coerce(valor),
            cotacaoForncField(CotacaoForncColumn::SIMILARES).coerce(similares) });
}

bool QuotationItemWrites::setObservation(qint64 rowid, const QVariant &obs)
{
    return run(m_observation, u"UPDATE CotacaoFornc SET OBS = ? WHERE rowid = ?"_s, rowid,
        { cotacaoForncField(CotacaoForncColumn::OBS).coerce(obs) });
}

bool QuotationItemWrites::remove(qint64 rowid)
{
    return run(m_remove, u"DELETE FROM CotacaoFornc WHERE rowid = ?"_s, rowid, {});
}
