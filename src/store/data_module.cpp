#include "store/data_module.h"

#include "store/order_writes.h"
#include "store/schema.h"
#include "store/store_error.h"

using namespace Qt::StringLiterals;

TDm::TDm(QObject *parent)
    : QObject(parent)
    , m_banco(u"Banco"_s)
    , m_cotaLiberada(
          m_banco, cotaLiberadasSchema().name, {}, releasedQuotationReader(), releasedQuotationBefore)
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
    , m_cotasBaixadas(m_banco, cotaLiberadasSchema().name, {}, releasedQuotationReader(u"Baixada"_s),
          releasedQuotationBefore)
    // The sets of a join are read again whole: their rowids are positions.
    , m_consCotaCab(
          m_banco, {}, { cotacaoForncSchema().name, cotaLiberadasSchema().name },
          [](Database &db, const QList<qint64> *) { return readSentQuotationHeads(db); },
          [](const SentQuotationHead &, const SentQuotationHead &) { return false; })
    , m_consCotaItens(
          m_banco, {}, { cotacaoForncSchema().name },
          [](Database &, const QList<qint64> *) { return std::vector<SentQuotationItem>(); },
          [](const SentQuotationItem &, const SentQuotationItem &) { return false; })
{
    m_cotaFornec.setObjectName(u"CotaFornec"_s);
    connect(&m_consCotaCab, &RowSetBase::currentRowChanged, this, &TDm::followSentHead);
}

TDm::~TDm() = default;

void TDm::openStore(const QString &path)
{
    m_banco.close(); // empties every set first
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

void TDm::chooseReleasedQuotations(ReleasedChoice choice)
{
    m_cotaLiberada.setReader(releasedQuotationReader(
        choice == ReleasedChoice::ToSend ? std::optional(u"Enviar"_s) : std::nullopt));
}

void TDm::followSentHead()
{
    const SentQuotationHead *head = m_consCotaCab.current();
    m_consCotaItens.setReader(
        [cotacao = head ? std::optional(head->cotacao) : std::nullopt](Database &db, const QList<qint64> *) {
            return cotacao ? readSentQuotationItems(db, *cotacao) : std::vector<SentQuotationItem>();
        });
    // The items of another quotation start at their first row.
    if (m_consCotaItens.isOpen())
        m_consCotaItens.open();
}
