#pragma once

#include "store/order_rows.h"
#include "store/quotation_item_rows.h"
#include "store/released_quotation_rows.h"
#include "store/row_set.h"
#include "store/sent_quotation_rows.h"
#include "store/sqlcipher.h"

#include <QObject>

#include <optional>

// The data module: the connection to the store file and the row sets the
// windows share, with their choices. Created once; every window reaches the
// data through it and finds each set (what it shows, its current row) as the
// previous window left it.
class TDm final : public QObject {
    Q_OBJECT

public:
    // Opens nothing: openStore() connects to the file.
    explicit TDm(QObject *parent = nullptr);
    ~TDm() override;
    Q_DISABLE_COPY_MOVE(TDm)

    // Empties every set and closes the connection, then opens the file
    // with the store's password and adds the indexes it lacks (a store of an
    // earlier version). A missing file fails with
    // "Banco: Database file '<full path>' does not exist".
    void openStore(const QString &path);
    bool isStoreOpen() const { return m_banco.isOpen(); }

    Database &Banco() { return m_banco; }

    ReleasedQuotationSet &CotaLiberada() { return m_cotaLiberada; }
    QuotationItemSet &CotaFornec() { return m_cotaFornec; }
    RowSet<ReleasedOrderRow> &PedidosLiberados() { return m_pedidosLiberados; }
    RowSet<OrderItemRow> &PedFornec() { return m_pedFornec; }

    // The quotations in status "Baixada", by number.
    ReleasedQuotationSet &CotasBaixadas() { return m_cotasBaixadas; }
    SentQuotationHeads &ConsCotaCab() { return m_consCotaCab; }
    // The items of ConsCotaCab's current quotation, read again (the first
    // current) whenever that row moves; none while it has no row.
    SentQuotationItems &ConsCotaItens() { return m_consCotaItens; }

    enum class ReleasedChoice {
        All,
        ToSend, // TipoStatus exactly "Enviar"
    };
    // Which quotations CotaLiberada shows from its next open or reload.
    void chooseReleasedQuotations(ReleasedChoice choice);

    // CotaFornec shows the items of this quotation in brand order, the first
    // current: what the sending window, the price entry and the printout
    // find. Opens it when closed, reads it again when open.
    void showQuotationItems(const QString &cotacao);
    // CotaFornec closed with no quotation chosen: opened again, it shows
    // every item.
    void closeQuotationItems();
    // The quotation whose items CotaFornec shows; empty for every item.
    const std::optional<QString> &quotationItemsChoice() const { return m_itemsChoice; }

    // PedidosLiberados shows the orders of this status (exactly), or every
    // order for none; PedFornec the items of this order (exactly), or every
    // item. Each takes effect at the set's next open or reload, and stays
    // for the next window until another choice replaces it.
    void chooseOrders(const std::optional<QString> &tipoStatus);
    const std::optional<QString> &ordersChosen() const { return m_ordersStatus; }
    void chooseOrderItems(const std::optional<QString> &pedido);
    const std::optional<QString> &orderItemsChosen() const { return m_itemsPedido; }
    // Makes the first order PedidosLiberados shows whose Pedido is pedido as
    // stored (cut to the column's size), ignoring case, the current one.
    // False (nothing moves) when it shows none.
    bool gotoOrder(const QString &pedido);

    // Deletes every item of one order (PEDIDO exactly as given).
    void apagar(const QString &pedido);

    // While false, no item download stores rows in CotacaoFornc.
    bool podeIcota() const { return m_podeIcota; }
    void setPodeIcota(bool on) { m_podeIcota = on; }

private:
    void followSentHead();

    Database m_banco;
    ReleasedQuotationSet m_cotaLiberada;
    std::optional<QString> m_itemsChoice;
    QuotationItemSet m_cotaFornec;
    RowSet<ReleasedOrderRow> m_pedidosLiberados;
    RowSet<OrderItemRow> m_pedFornec;
    std::optional<QString> m_ordersStatus;
    std::optional<QString> m_itemsPedido;
    ReleasedQuotationSet m_cotasBaixadas;
    SentQuotationHeads m_consCotaCab;
    SentQuotationItems m_consCotaItens;
    bool m_podeIcota = false;
};
