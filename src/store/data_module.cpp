#include "store/data_module.h"

#include "store/order_writes.h"
#include "store/schema.h"
#include "store/store_error.h"

using namespace Qt::StringLiterals;

namespace {

Field declared(const QString &name, FieldType type, int size = 0, const QString &format = {})
{
    Field f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.displayFormat = format;
    return f;
}

} // namespace

TDm::TDm(QObject *parent)
    : QObject(parent)
    , m_banco(u"Banco"_s)
    , m_cotaLiberada(m_banco, cotaLiberadasSchema(), u"CotaLiberada"_s)
    , m_cotaFornec(
          m_banco, u"CotacaoFornc"_s, { u"CotacaoFornc"_s },
          [this](
              Database &db, const QList<qint64> *ids) { return readQuotationItems(db, m_itemsChoice, ids); },
          quotationItemBefore)
    // Both lists show their rows as stored (by rowid).
    , m_pedidosLiberados(
          m_banco, pedidosLiberadosSchema().name, {},
          [](Database &db, const QList<qint64> *ids) { return readReleasedOrders(db, std::nullopt, ids); },
          [](const ReleasedOrderRow &, const ReleasedOrderRow &) { return false; })
    , m_pedFornec(
          m_banco, pedidoForncSchema().name, {},
          [](Database &db, const QList<qint64> *ids) { return readOrderItems(db, std::nullopt, ids); },
          [](const OrderItemRow &, const OrderItemRow &) { return false; })
    , m_cotasBaixadas(m_banco, u"CotasBaixadas"_s)
    , m_consCotaCab(m_banco, u"ConsCotaCab"_s)
    , m_consCotaItens(m_banco, u"ConsCotaItens"_s)
{
    m_cotaLiberada.setIndexName(u"IndexName"_s);
    m_cotaFornec.setObjectName(u"CotaFornec"_s);
    setUpQueries();
}

TDm::~TDm() = default;

void TDm::openStore(const QString &path)
{
    m_banco.close(); // closes every table and query first
    m_banco.open(path, storeKey());
    try {
        addMissingIndexes(m_banco);
    } catch (const StoreError &) {
        // An index only makes look-ups faster: a store that cannot take one
        // now (a full disk, a read-only file) still opens.
    }
}

void TDm::showQuotationItems(const QString &cotacao)
{
    m_itemsChoice = cotacao;
    m_cotaFornec.open();
}

void TDm::closeQuotationItems()
{
    m_cotaFornec.close();
    m_itemsChoice.reset();
}

void TDm::chooseOrders(const std::optional<QString> &tipoStatus)
{
    m_ordersStatus = tipoStatus;
    m_pedidosLiberados.setReader([tipoStatus](Database &db, const QList<qint64> *ids) {
        return readReleasedOrders(db, tipoStatus, ids);
    });
}

void TDm::chooseOrderItems(const std::optional<QString> &pedido)
{
    m_itemsPedido = pedido;
    m_pedFornec.setReader(
        [pedido](Database &db, const QList<qint64> *ids) { return readOrderItems(db, pedido, ids); });
}

bool TDm::gotoOrder(const QString &pedido)
{
    const TableSchema &table = pedidosLiberadosSchema();
    const QVariant stored = table.columns[table.columnIndex(u"Pedido"_s)].coerce(pedido);
    const QString folded = stored.toString().toCaseFolded();
    return m_pedidosLiberados.locate(
        [&](const ReleasedOrderRow &r) { return r.pedido.toCaseFolded() == folded; });
}

void TDm::apagar(const QString &pedido)
{
    deleteOrderItems(m_banco, pedido);
}

void TDm::setUpQueries()
{
    m_cotasBaixadas.setReadOnly(true);
    m_cotasBaixadas.setSql({ u"Select * from CotaLiberadas where TipoStatus = :Status"_s });
    m_cotasBaixadas.setFieldDefs({
        declared(u"Cotacao"_s, FieldType::Text, 17),
        declared(u"TipoStatus"_s, FieldType::Text, 7),
        declared(u"DataValidade"_s, FieldType::Date),
        declared(u"AteHora"_s, FieldType::Time),
        declared(u"DataLiberada"_s, FieldType::Date),
    });

    m_consCotaCab.setReadOnly(true);
    m_consCotaCab.setSql({
        u"select distinct C.Cotacao, C.Data, L.TipoStatus from cotacaofornc C"_s,
        u"inner join cotaliberadas L on (L.Cotacao = C.Cotacao) "_s,
        u"order by C.data desc, L.TipoStatus Desc "_s,
    });
    m_consCotaCab.setFieldDefs({
        declared(u"Cotacao"_s, FieldType::Text, 17),
        declared(u"Data"_s, FieldType::Date, 0, u"dd/mm/yyyy"_s),
        declared(u"TipoStatus"_s, FieldType::Text, 7),
    });

    m_consCotaItens.setReadOnly(true);
    m_consCotaItens.setSql({
        u"select C1.\"Marca\", C1.\"Prodfabr\", C1.\"Similares\", C1.\"Descricao\", C1.\"UN\", C1.\"Qtde\", C1.\"Valor\","_s,
        u"(C1.\"Qtde\" * C1.\"Valor\") as \"Total\""_s,
        u"from \"CotacaoFornc\" C1"_s,
        u"where C1.\"Cotacao\" = :Cotacao"_s,
        u"order by C1.\"Marca\", C1.\"Descricao\""_s,
    });
    m_consCotaItens.setFieldDefs({
        declared(u"Marca"_s, FieldType::Text, 20),
        declared(u"Prodfabr"_s, FieldType::Text, 20),
        declared(u"Similares"_s, FieldType::Text, 20),
        declared(u"Descricao"_s, FieldType::Text, 60),
        declared(u"UN"_s, FieldType::Text, 2),
        declared(u"Qtde"_s, FieldType::Float, 0, u"0.00"_s),
        declared(u"Valor"_s, FieldType::Float, 0, u"0.00"_s),
        declared(u"Total"_s, FieldType::Float, 0, u"#,##0.00"_s),
    });
    // The parameter Cotacao is never set: it comes from ConsCotaCab's row.
    m_consCotaItens.setMaster(&m_consCotaCab);
}
