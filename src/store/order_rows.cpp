#include "store/order_rows.h"

#include "common/regional.h"
#include "store/sqlcipher.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

// " AND rowid IN (?, ...)" for the ids, bound after the choice's own values.
QString idCondition(const QList<qint64> *ids)
{
    if (!ids)
        return {};
    return u" AND rowid IN ("_s + boundMarks(ids->size()) + u')';
}

void bindIds(Statement &st, int first, const QList<qint64> *ids)
{
    if (!ids)
        return;
    for (qsizetype i = 0; i < ids->size(); ++i)
        st.bind(first + int(i), ids->at(i));
}

enum ReleasedColumn { RRowid, RPedido, RTipoStatus, RDataLiberado, RHoraLib, RDataBaixado, RHoraBaixa };

enum ItemColumn {
    IRowid,
    IContato,
    IPedido,
    IData,
    IProduto,
    IProdfabr,
    IDescricao,
    IUn,
    IAplicacao,
    IMarca,
    IQtde,
    IValor,
    ICondpgto,
    ISimilares,
    IObs,
    IQtdeLoja1,
    INomeLoja1 = IQtdeLoja1 + 3,
};

// The rows the condition keeps (its one value bound), or every row for no
// value; with ids only those rows. In the order of the file, as the lists
// have always shown them.
template <class Row, class Read>
std::vector<Row> readChoice(Database &db, const QString &select, const QString &keyColumn,
    const std::optional<QString> &key, const QList<qint64> *ids, Read read)
{
    db.requireOpen();
    // "1" keeps every row: the ids' condition then follows as for a choice.
    const QString where = key ? keyColumn + u" = ?"_s : u"1"_s;
    Statement st(db, select + u" WHERE "_s + where + idCondition(ids) + u" ORDER BY rowid"_s);
    int next = 1;
    if (key)
        st.bind(next++, *key);
    bindIds(st, next, ids);
    std::vector<Row> rows;
    while (st.step())
        rows.push_back(read(st));
    return rows;
}

std::vector<DatedKeyRow> readDated(Database &db, const QString &sql, bool withStatus)
{
    db.requireOpen();
    Statement st(db, sql);
    std::vector<DatedKeyRow> rows;
    while (st.step())
        rows.push_back({ qint64(rows.size()), storedText(st, 0), storedDate(st, 1),
            withStatus ? storedText(st, 2) : QString() });
    return rows;
}

} // namespace

std::vector<ReleasedOrderRow> readReleasedOrders(
    Database &db, const std::optional<QString> &tipoStatus, const QList<qint64> *ids)
{
    return readChoice<ReleasedOrderRow>(db,
        u"SELECT rowid, Pedido, TipoStatus, DataLiberado, HoraLib, DataBaixado, HoraBaixa "
        "FROM PedidosLiberados"_s,
        u"TipoStatus"_s, tipoStatus, ids, [](const Statement &st) {
            return ReleasedOrderRow { st.columnInt(RRowid), storedText(st, RPedido),
                storedText(st, RTipoStatus), storedDate(st, RDataLiberado), storedTime(st, RHoraLib),
                storedDate(st, RDataBaixado), storedTime(st, RHoraBaixa) };
        });
}

std::vector<OrderItemRow> readOrderItems(
    Database &db, const std::optional<QString> &pedido, const QList<qint64> *ids)
{
    return readChoice<OrderItemRow>(db,
        u"SELECT rowid, CONTATO, PEDIDO, DATA, PRODUTO, PRODFABR, DESCRICAO, UN, APLICACAO, MARCA, QTDE, "
        "VALOR, CONDPGTO, SIMILARES, OBS, QTDELOJA1, QTDELOJA2, QTDELOJA3, NOMELOJA1, NOMELOJA2, NOMELOJA3 "
        "FROM PedidoFornc"_s,
        u"PEDIDO"_s, pedido, ids, [](const Statement &st) {
            OrderItemRow r;
            r.rowid = st.columnInt(IRowid);
            r.contato = storedText(st, IContato);
            r.pedido = storedText(st, IPedido);
            r.data = storedDate(st, IData);
            r.produto = storedText(st, IProduto);
            r.prodfabr = storedText(st, IProdfabr);
            r.descricao = storedText(st, IDescricao);
            r.un = storedText(st, IUn);
            r.aplicacao = storedText(st, IAplicacao);
            r.marca = storedText(st, IMarca);
            r.qtde = storedNumber(st, IQtde);
            r.valor = storedNumber(st, IValor);
            r.condpgto = storedText(st, ICondpgto);
            r.similares = storedText(st, ISimilares);
            r.obs = storedText(st, IObs);
            for (int i = 0; i < 3; ++i) {
                r.qtdeLoja[size_t(i)] = storedNumber(st, IQtdeLoja1 + i);
                r.nomeLoja[size_t(i)] = storedText(st, INomeLoja1 + i);
            }
            return r;
        });
}

// The statements the purge window has always run, so that rows of one day
// come in the same order.
std::vector<DatedKeyRow> readReleasedQuotationDates(Database &db)
{
    return readDated(db,
        u"SELECT Cotacao, DataLiberada, TipoStatus FROM cotaliberadas ORDER BY DataLiberada DESC"_s, true);
}

std::vector<DatedKeyRow> readQuotationItemDates(Database &db)
{
    return readDated(
        db, u"SELECT DISTINCT Cotacao, Data, TipoStatus FROM CotacaoFornc ORDER BY Data DESC"_s, true);
}

std::vector<DatedKeyRow> readReleasedOrderDates(Database &db)
{
    return readDated(db,
        u"SELECT Pedido, DataLiberado, TipoStatus FROM pedidosliberados ORDER BY DataLiberado DESC"_s, true);
}

std::vector<DatedKeyRow> readOrderItemDates(Database &db)
{
    return readDated(db, u"SELECT DISTINCT Pedido, Data FROM PedidoFornc ORDER BY Data DESC"_s, false);
}
