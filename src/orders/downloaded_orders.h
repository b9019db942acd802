#pragma once

#include "ui/prompts.h"

#include <QString>

#include <array>

class TDm;
struct PreparedReport;

// The totals of one order as the window "Pedidos Baixados" writes them.
struct OrderTotalLabels {
    QString lbTotPed; // "Valor Total Ped. : " and the order total
    std::array<QString, 3> lojas; // lbl1 to lbl3: "Tot. ", the store's name and its total
};

// What the window "Pedidos Baixados" does: list the downloaded or the
// attended orders, follow the selected one with its items and totals, print
// it and mark it attended, or return it to the downloaded ones. The selected
// order is the current row of PedidosLiberados.
class DownloadedOrders final {
public:
    // The items of the radio group rg1.
    enum List { Baixados = 0, Atendidos = 1 };

    DownloadedOrders(Prompts &prompts, TDm &dm);
    Q_DISABLE_COPY_MOVE(DownloadedOrders)

    // rg1Click: reopens the list on the orders "Baixado" or "Atendido".
    bool chooseList(List list);
    List list() const { return m_list; }
    // The print commands are offered only on the list of "Baixados".
    bool printsOffered() const { return m_list == Baixados; }

    // ds1DataChange: reopens the items on the selected order and computes
    // its totals.
    bool followSelectedOrder();
    const OrderTotalLabels &totals() const { return m_totals; }

    // Totped: the four sums over the order's items (an empty number counts
    // as zero); writes the store lines and returns the order total's text.
    QString Totped();

    // F4 and F11 on the order list: the question, then the status change.
    // False when nothing changed.
    bool markAttended();
    bool returnToDownloaded();

    // What became of a print command: nothing shown, shown (printed or
    // saved from the preview) and left "Baixado", or shown and "Atendido".
    enum class Printout { NotShown, Shown, Attended };

    // "Imprime o Pedido" and "Distribuição por Loja": the preview, the
    // question whether it was printed, and on Yes "Atendido" with the list
    // reopened.
    Printout printOrder();
    Printout printStores();

    // FormClose: both tables closed, without filter.
    void closeTables();

private:
    bool changeStatus(const QString &from, const QString &to, const QString &question);
    Printout print(ReportPreparation (*start)(TDm &, const QString &));
    QString selectedPedido() const;

    Prompts &m_prompts;
    TDm &m_dm;
    List m_list = Baixados;
    OrderTotalLabels m_totals;
};
