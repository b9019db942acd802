#include "store/order_rows.h"

#include "common/regional.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

QString text(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QString() : st.columnText(column);
}

std::optional<double> number(const Statement &st, int column)
{
    if (st.columnIsNull(column))
        return std::nullopt;
    return st.columnDouble(column);
}

QDate date(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QDate() : isoDate(st.columnText(column));
}

QTime time(const Statement &st, int column)
{
    return st.columnIsNull(column) ? QTime() : isoTime(st.columnText(column));
}

// " AND rowid IN (?, ...)" for the ids, bound after the choice's own values.
QString idCondition(const QList<qint64> *ids)
{
    if (!ids)
        return {};
    QStringList marks(ids->size(), u"?"_s);
    return u" AND rowid IN ("_s + marks.join(u", "_s) + u')';
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
        rows.push_back(
            { qint64(rows.size()), text(st, 0), date(st, 1), withStatus ? text(st, 2) : QString() });
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
            return ReleasedOrderRow { st.columnInt(RRowid), text(st, RPedido), text(st, RTipoStatus),
                date(st, RDataLiberado), time(st, RHoraLib), date(st, RDataBaixado), time(st, RHoraBaixa) };
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
            r.contato = text(st, IContato);
            r.pedido = text(st, IPedido);
            r.data = date(st, IData);
            r.produto = text(st, IProduto);
            r.prodfabr = text(st, IProdfabr);
            r.descricao = text(st, IDescricao);
            r.un = text(st, IUn);
            r.aplicacao = text(st, IAplicacao);
            r.marca = text(st, IMarca);
            r.qtde = number(st, IQtde);
            r.valor = number(st, IValor);
            r.condpgto = text(st, ICondpgto);
            r.similares = text(st, ISimilares);
            r.obs = text(st, IObs);
            for (int i = 0; i < 3; ++i) {
                r.qtdeLoja[size_t(i)] = number(st, IQtdeLoja1 + i);
                r.nomeLoja[size_t(i)] = text(st, INomeLoja1 + i);
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
