#include "orders/downloaded_orders.h"

#include "common/regional.h"
#include "orders/order_report.h"
#include "orders/store_report.h"
#include "store/data_module.h"
#include "store/released_writes.h"

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Baixado = u"Baixado"_s;
const QString Atendido = u"Atendido"_s;

} // namespace

DownloadedOrders::DownloadedOrders(Prompts &prompts, TDm &dm)
    : m_prompts(prompts)
    , m_dm(dm)
{
}

bool DownloadedOrders::chooseList(List list)
{
    m_list = list;
    try {
        m_dm.chooseOrders(list == Baixados ? Baixado : Atendido);
        m_dm.PedidosLiberados().open();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

QString DownloadedOrders::selectedPedido() const
{
    const ReleasedOrderRow *order = m_dm.PedidosLiberados().current();
    return order ? order->pedido : QString();
}

bool DownloadedOrders::followSelectedOrder()
{
    try {
        // No order selected: an empty number, which selects no item.
        m_dm.chooseOrderItems(selectedPedido());
        m_dm.PedFornec().open();
        m_totals.lbTotPed = u"Valor Total Ped. : "_s + Totped();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

QString DownloadedOrders::Totped()
{
    // Summed by row without moving the current item, so the controls bound
    // to the items neither move nor repaint.
    const RowSet<OrderItemRow> &items = m_dm.PedFornec();
    double total = 0;
    std::array<double, 3> totalLoja {};
    for (const OrderItemRow &item : items.rows()) {
        const double price = item.valor.value_or(0);
        total += item.qtde.value_or(0) * price;
        for (size_t i = 0; i < totalLoja.size(); ++i)
            totalLoja[i] += item.qtdeLoja[i].value_or(0) * price;
    }
    // The stores' names are those of the current item.
    const OrderItemRow *current = items.current();
    for (size_t i = 0; i < totalLoja.size(); ++i) {
        const QString nome = current ? current->nomeLoja[i] : QString();
        m_totals.lojas[i] = u"Tot. "_s + nome + numberText(totalLoja[i], u" = #,##0.00"_s);
    }
    return numberText(total, u"#,##0.00"_s);
}

bool DownloadedOrders::changeStatus(const QString &from, const QString &to, const QString &question)
{
    const ReleasedOrderRow *order = m_dm.PedidosLiberados().current();
    if (!order || order->tipoStatus != from)
        return false;
    const qint64 rowid = order->rowid;
    if (!m_prompts.ask(Atencao, question))
        return false;
    try {
        setOrderStatusAt(m_dm.Banco(), rowid, to);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool DownloadedOrders::markAttended()
{
    return changeStatus(Baixado, Atendido, u"Este pedido já foi atendido????"_s);
}

bool DownloadedOrders::returnToDownloaded()
{
    return changeStatus(Atendido, Baixado, u"Tem certeza que quer retornar esse pedido para baixados????"_s);
}

DownloadedOrders::Printout DownloadedOrders::printOrder()
{
    return print(orderReport);
}

DownloadedOrders::Printout DownloadedOrders::printStores()
{
    return print(storeReport);
}

DownloadedOrders::Printout DownloadedOrders::print(ReportPreparation (*start)(TDm &, const QString &))
{
    if (m_list == Atendidos) {
        m_prompts.message(u"Erro"_s, u"Esse pedido já foi atendido, não posso imprimir"_s);
        return Printout::NotShown;
    }
    RowSet<ReleasedOrderRow> &lib = m_dm.PedidosLiberados();
    try {
        ReportPreparation report = start(m_dm, selectedPedido());
        m_prompts.previewReport(report);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return Printout::NotShown;
    }
    if (!m_prompts.ask(Atencao,
            u"Você já imprimiu o pedido ??, Se a Resposta for sim, não será possível imprimir "
            u"o pedido novamente e o status será alterado para Atendido. Deseja confirmar??"_s))
        return Printout::Shown;
    // With no order listed there is nothing to mark, and no row to add.
    if (!lib.current())
        return Printout::Shown;
    try {
        setOrderStatusAt(m_dm.Banco(), lib.currentRowId(), Atendido);
        lib.open();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return Printout::Shown;
    }
    return Printout::Attended;
}

void DownloadedOrders::closeTables()
{
    try {
        m_dm.PedidosLiberados().close();
        m_dm.chooseOrders(std::nullopt);
        m_dm.PedFornec().close();
        m_dm.chooseOrderItems(std::nullopt);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
}
