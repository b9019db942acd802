#include "store/item_writes.h"

#include "store/schema.h"

using namespace Qt::StringLiterals;

QuotationItemWrites::QuotationItemWrites(Database &db)
    : m_db(db)
{
}

void QuotationItemWrites::setPrice(qint64 rowid, const QVariant &valor)
{
    if (!m_price)
        m_price.emplace(m_db, u"UPDATE CotacaoFornc SET VALOR = ? WHERE rowid = ?"_s);
    m_price->bind(1, cotacaoForncField(CotacaoForncColumn::VALOR).coerce(valor));
    m_price->bind(2, rowid);
    m_price->step();
    m_price->reset();
}

void QuotationItemWrites::setPriceAndSimilares(qint64 rowid, const QVariant &valor, const QVariant &similares)
{
    if (!m_priceAndSimilares)
        m_priceAndSimilares.emplace(
            m_db, u"UPDATE CotacaoFornc SET VALOR = ?, SIMILARES = ? WHERE rowid = ?"_s);
    Statement &st = *m_priceAndSimilares;
    st.bind(1, cotacaoForncField(CotacaoForncColumn::VALOR).coerce(valor));
    st.bind(2, cotacaoForncField(CotacaoForncColumn::SIMILARES).coerce(similares));
    st.bind(3, rowid);
    st.step();
    st.reset();
}
