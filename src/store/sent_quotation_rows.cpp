#include "store/sent_quotation_rows.h"

#include "common/regional.h"
#include "store/sqlcipher.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

enum HeadColumn { HeadCotacao, HeadData, HeadTipoStatus };
enum ItemColumn { Marca, Prodfabr, Similares, Descricao, Un, Qtde, Valor, Total };
enum SendingColumn { Contato, Cotacao, Data, Produto, SQtde, SValor, CondPgto, SSimilares, Obs };

} // namespace

std::vector<SentQuotationHead> readSentQuotationHeads(Database &db)
{
    db.requireOpen();
    Statement st(db,
        u"select distinct C.Cotacao, C.Data, L.TipoStatus from cotacaofornc C "
        "inner join cotaliberadas L on (L.Cotacao = C.Cotacao) "
        "order by C.data desc, L.TipoStatus Desc "_s);
    std::vector<SentQuotationHead> rows;
    while (st.step()) {
        rows.push_back({ qint64(rows.size()), storedText(st, HeadCotacao), isoDate(storedText(st, HeadData)),
            storedText(st, HeadTipoStatus) });
    }
    return rows;
}

std::vector<SentQuotationItem> readSentQuotationItems(Database &db, const QString &cotacao)
{
    db.requireOpen();
    // The total is the file's own product: empty when either factor is.
    Statement st(db,
        u"select C1.\"Marca\", C1.\"Prodfabr\", C1.\"Similares\", C1.\"Descricao\", C1.\"UN\", C1.\"Qtde\", "
        "C1.\"Valor\", (C1.\"Qtde\" * C1.\"Valor\") as \"Total\" from \"CotacaoFornc\" C1 "
        "where C1.\"Cotacao\" = ? order by C1.\"Marca\", C1.\"Descricao\""_s);
    st.bindAll({ cotacao });
    std::vector<SentQuotationItem> rows;
    while (st.step()) {
        rows.push_back({ qint64(rows.size()), storedText(st, Marca), storedText(st, Prodfabr),
            storedText(st, Similares), storedText(st, Descricao), storedText(st, Un), storedNumber(st, Qtde),
            storedNumber(st, Valor), storedNumber(st, Total) });
    }
    return rows;
}

std::vector<SendingItemLine> sendingItemLines(const Database &db, const QString &cotacao)
{
    db.requireOpen();
    Statement st(db,
        u"SELECT CONTATO, COTACAO, DATA, PRODUTO, QTDE, VALOR, CONDPGTO, SIMILARES, OBS FROM CotacaoFornc "
        "WHERE COTACAO = ? ORDER BY MARCA, rowid"_s);
    st.bindAll({ cotacao });
    std::vector<SendingItemLine> lines;
    while (st.step()) {
        lines.push_back({ storedText(st, Contato), storedText(st, Cotacao), isoDate(storedText(st, Data)),
            storedText(st, Produto), storedNumber(st, SQtde), storedNumber(st, SValor),
            storedText(st, CondPgto), storedText(st, SSimilares), storedText(st, Obs) });
    }
    return lines;
}
