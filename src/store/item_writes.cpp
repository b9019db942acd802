#include "store/item_writes.h"

#include "store/schema.h"

using namespace Qt::StringLiterals;

QuotationItemWrites::QuotationItemWrites(Database &db)
    : m_db(db)
{
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
