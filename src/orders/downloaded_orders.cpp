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
        Table &lib = m_dm.PedidosLiberados();
        lib.close();
        lib.setFilter(u"TipoStatus = ?"_s, { list == Baixados ? Baixado : Atendido });
        lib.setFiltered(true);
        lib.open();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

QString DownloadedOrders::selectedPedido() const
{
    const Table &lib = m_dm.PedidosLiberados();
    return lib.isOpen() && !lib.isEmpty() ? lib.asString(u"Pedido"_s) : QString();
}

bool DownloadedOrders::followSelectedOrder()
{
    try {
        Table &items = m_dm.PedFornec();
        items.close();
        // No order selected: an empty number, which selects no item.
        items.setFilter(u"PEDIDO = ?"_s, { selectedPedido() });
        items.setFiltered(true);
        items.open();
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
    const Table &items = m_dm.PedFornec();
    const int qtde = items.fieldIndex(u"QTDE"_s);
    const int valor = items.fieldIndex(u"VALOR"_s);
    const std::array<int, 3> lojas { items.fieldIndex(u"QTDELOJA1"_s), items.fieldIndex(u"QTDELOJA2"_s),
        items.fieldIndex(u"QTDELOJA3"_s) };
    double total = 0;
    std::array<double, 3> totalLoja {};
    for (int row = 0; row < items.rowCount(); ++row) {
        const double price = items.value(row, valor).toDouble();
        total += items.value(row, qtde).toDouble() * price;
        for (size_t i = 0; i < lojas.size(); ++i)
            totalLoja[i] += items.value(row, lojas[i]).toDouble() * price;
    }
    for (size_t i = 0; i < lojas.size(); ++i) {
        const QString nome = items.isEmpty() ? QString() : items.asString(u"NOMELOJA%1"_s.arg(i + 1));
        m_totals.lojas[i] = u"Tot. "_s + nome + numberText(totalLoja[i], u" = #,##0.00"_s);
    }
    return numberText(total, u"#,##0.00"_s);
}

bool DownloadedOrders::changeStatus(const QString &from, const QString &to, const QString &question)
{
    Table &lib = m_dm.PedidosLiberados();
    if (!lib.isOpen() || lib.isEmpty() || lib.asString(u"TipoStatus"_s) != from)
        return false;
    if (!m_prompts.ask(Atencao, question))
        return false;
    try {
        setOrderStatusAt(m_dm.Banco(), lib.bookmark().id, to);
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
    Table &lib = m_dm.PedidosLiberados();
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
    if (!lib.isOpen() || lib.isEmpty())
        return Printout::Shown;
    try {
        setOrderStatusAt(m_dm.Banco(), lib.bookmark().id, Atendido);
        lib.close();
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
        for (Table *t : { &m_dm.PedidosLiberados(), &m_dm.PedFornec() }) {
            t->close();
            t->setFilter(QString());
            t->setFiltered(false);
        }
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
}
