#include "store/printout_reads.h"

#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

// The columns cotacao, marca, prodfabr, similares, descricao, un, qtde and
// valor, in this order.
ItemPrintLine itemLine(const Statement &st)
{
    return { storedText(st, 0), storedText(st, 1), storedText(st, 2), storedText(st, 3), storedText(st, 4),
        storedText(st, 5), storedNumber(st, 6), storedNumber(st, 7) };
}

QString quoted(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

} // namespace

std::vector<ItemPrintLine> quotationPrintLines(const Database &db, const std::optional<QString> &cotacao)
{
    db.requireOpen();
    const TableSchema &schema = cotacaoForncSchema();
    QString order;
    for (const QString &column : schema.indexes[schema.indexIndex(u"Por_Marca"_s)].columns)
        order += quoted(column) + u", "_s;
    QString sql = u"SELECT COTACAO, MARCA, PRODFABR, SIMILARES, DESCRICAO, UN, QTDE, VALOR "
                  "FROM CotacaoFornc"_s;
    if (cotacao)
        sql += u" WHERE COTACAO = ?"_s;
    sql += u" ORDER BY "_s + order + u"rowid"_s;
    Statement st(db, sql);
    if (cotacao)
        st.bindAll({ *cotacao });
    std::vector<ItemPrintLine> lines;
    while (st.step()) {
        lines.push_back(itemLine(st));
    }
    return lines;
}

std::vector<ItemPrintLine> orderPrintLines(const Database &db, const QString &pedido)
{
    db.requireOpen();
    Statement st(db,
        u"SELECT NULL, MARCA, PRODFABR, SIMILARES, DESCRICAO, UN, QTDE, VALOR FROM PedidoFornc "
        "WHERE PEDIDO = ? ORDER BY MARCA, rowid"_s);
    st.bindAll({ pedido });
    std::vector<ItemPrintLine> lines;
    while (st.step()) {
        lines.push_back(itemLine(st));
    }
    return lines;
}

std::vector<StorePickingLine> storePickingLines(const Database &db, const QString &pedido)
{
    db.requireOpen();
    // Every line goes to its store, even one equal to another in every
    // printed column (a union without "all" printed it once and the store's
    // total fell short); the printout needs each store's lines together.
    Statement st(db,
        u"select NOMELOJA1 AS LOJA, MARCA,PRODFABR as PRODUTO, SIMILARES, DESCRICAO, UN, QTDELOJA1 as "
        u"QTDELOJA, VALOR, (QTDELOJA1 * VALOR) AS VlTot from PedidoFornc\n"
        "where not (qtdeloja1 is null) and (PEDIDO = :PEDIDO) and (QTDELOJA1  * VALOR > 0)\n"
        "\n"
        "union all\n"
        "select NOMELOJA2 AS LOJA, MARCA,PRODFABR as PRODUTO, SIMILARES, DESCRICAO, UN, QTDELOJA2 as "
        "QTDELOJA, VALOR, (QTDELOJA2 * VALOR) AS VlTot from PedidoFornc\n"
        "where not (qtdeloja2 is null) and (PEDIDO =  :PEDIDO)  and ((QTDELOJA2 * VALOR) > 0)\n"
        "\n"
        "union all\n"
        "select NOMELOJA3 AS LOJA, MARCA,PRODFABR as PRODUTO, SIMILARES, DESCRICAO, UN, QTDELOJA3 as "
        "QTDELOJA, VALOR, (QTDELOJA3 * VALOR) AS VlTot from PedidoFornc\n"
        "where not (qtdeloja3 is null) and (PEDIDO =  :PEDIDO)  and ((QTDELOJA3 * VALOR) > 0)\n"
        "order by LOJA, MARCA, PRODUTO, SIMILARES, DESCRICAO, UN, QTDELOJA, VALOR, VlTot"_s);
    st.bind(st.parameterIndex(":PEDIDO"), pedido); // one value for the three occurrences
    std::vector<StorePickingLine> lines;
    while (st.step()) {
        lines.push_back(
            { storedText(st, 0), storedText(st, 1), storedText(st, 2), storedText(st, 3), storedText(st, 4),
                storedText(st, 5), st.columnDouble(6), st.columnDouble(7), st.columnDouble(8) });
    }
    return lines;
}
