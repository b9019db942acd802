#include "app/app_context.h"
#include "cli/cli.h"
#include "cli/listing.h"
#include "cli/report_files.h"
#include "common/regional.h"
#include "exchange/http_client.h"
#include "orders/downloaded_orders.h"
#include "orders/released_orders.h"
#include "store/data_module.h"
#include "ui/prompts.h"

using namespace Qt::StringLiterals;

namespace {

const QString Erro = u"Erro"_s;

int status(CliContext &c, bool completed)
{
    return completed && c.prompts().errors() == 0 ? CliOk : CliFailed;
}

// The window "Pedidos Liberados" with its own HTTP client, its tables open.
class ReleasedRun {
public:
    ReleasedRun(CliContext &c, AppContext &app)
        : m_flow(c.prompts(), app.dm(), app.net(), m_client, app.settings().servidor)
    {
        m_flow.setLogin(c.login());
        m_open = m_flow.openTables();
    }
    ReleasedOrders &flow() { return m_flow; }
    bool open() const { return m_open; }

private:
    HttpClient m_client;
    ReleasedOrders m_flow;
    bool m_open = false;
};

// The stored order PEDIDO (any letter case) made the current row of the
// whole list; false, with a refusal shown, when it is not stored.
bool selectStored(CliContext &c, TDm &dm)
{
    const QString pedido = c.options().args.at(0);
    try {
        dm.chooseOrders(std::nullopt);
        dm.PedidosLiberados().open();
        if (dm.gotoOrder(pedido))
            return true;
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return false;
    }
    c.prompts().message(Erro, u"O pedido : "_s + pedido + u" não está no seu banco."_s);
    return false;
}

// The window "Pedidos Baixados" on the list that holds PEDIDO, with PEDIDO
// selected: the list of its status, or the one given. False, with a refusal
// shown, when that list does not hold it.
bool selectListed(
    CliContext &c, TDm &dm, DownloadedOrders &flow, std::optional<DownloadedOrders::List> wanted)
{
    if (!selectStored(c, dm))
        return false;
    const QString pedido = dm.PedidosLiberados().current()->pedido;
    const QString tipoStatus = dm.PedidosLiberados().current()->tipoStatus;
    const DownloadedOrders::List list = wanted.value_or(
        tipoStatus == u"Atendido" ? DownloadedOrders::Atendidos : DownloadedOrders::Baixados);
    if (!flow.chooseList(list))
        return false;
    if (dm.gotoOrder(pedido))
        return true;
    const QString where = wanted ? (list == DownloadedOrders::Baixados ? u"baixados"_s : u"atendidos"_s)
                                 : u"baixados ou atendidos"_s;
    c.prompts().message(Erro,
        u"O pedido : "_s + pedido + u" está com o status \""_s + tipoStatus
            + u"\" e não está entre os pedidos "_s + where + u"."_s);
    return false;
}

int fetch(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    return run.open() ? status(c, run.flow().fetchList()) : int(CliFailed);
}

int download(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.open() || !selectStored(c, app.dm()))
        return CliFailed;
    return status(c, run.flow().downloadItems());
}

int list(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.open())
        return CliFailed;
    for (const ReleasedOrderRow &r : app.dm().PedidosLiberados().rows()) {
        printRecord(c,
            { listingText(r.pedido), listingText(r.tipoStatus), plainDate(r.dataLiberado),
                plainTime(r.horaLib), plainDate(r.dataBaixado), plainTime(r.horaBaixa) });
    }
    c.out().flush();
    return CliOk;
}

int items(CliContext &c, AppContext &app)
{
    if (!selectStored(c, app.dm()))
        return CliFailed;
    RowSet<OrderItemRow> &items = app.dm().PedFornec();
    try {
        app.dm().chooseOrderItems(app.dm().PedidosLiberados().current()->pedido);
        items.open();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    // Every column in the order of the file.
    for (const OrderItemRow &r : items.rows()) {
        QStringList line { listingText(r.contato), listingText(r.pedido), plainDate(r.data),
            listingText(r.produto), listingText(r.prodfabr), listingText(r.descricao), listingText(r.un),
            listingText(r.aplicacao), listingText(r.marca), plainNumber(r.qtde), plainNumber(r.valor),
            listingText(r.condpgto), listingText(r.similares), listingText(r.obs) };
        for (const auto &qtde : r.qtdeLoja)
            line << plainNumber(qtde);
        for (const QString &nome : r.nomeLoja)
            line << listingText(nome);
        printRecord(c, line);
    }
    c.out().flush();
    return CliOk;
}

int totals(CliContext &c, AppContext &app)
{
    DownloadedOrders flow(c.prompts(), app.dm());
    if (!selectListed(c, app.dm(), flow, std::nullopt) || !flow.followSelectedOrder())
        return CliFailed;
    const OrderTotalLabels &t = flow.totals();
    c.out() << t.lbTotPed << '\n';
    for (const QString &loja : t.lojas)
        c.out() << loja << '\n';
    c.out().flush();
    return CliOk;
}

// A key of the order grid, on the list that key works in.
int key(CliContext &c, AppContext &app, DownloadedOrders::List list, bool (DownloadedOrders::*press)())
{
    DownloadedOrders flow(c.prompts(), app.dm());
    if (!selectListed(c, app.dm(), flow, list))
        return CliFailed;
    return status(c, (flow.*press)());
}

int attend(CliContext &c, AppContext &app)
{
    return key(c, app, DownloadedOrders::Baixados, &DownloadedOrders::markAttended);
}

int unattend(CliContext &c, AppContext &app)
{
    return key(c, app, DownloadedOrders::Atendidos, &DownloadedOrders::returnToDownloaded);
}

// The pages were saved once the preview was "shown": that is the command's
// work, whatever the answer to "already printed?" that follows.
int print(CliContext &c, AppContext &app, DownloadedOrders::Printout (DownloadedOrders::*printout)())
{
    const std::optional<ReportFiles> files = reportFiles(c, 1);
    if (!files)
        return CliUsage;
    DownloadedOrders flow(c.prompts(), app.dm());
    if (!selectListed(c, app.dm(), flow, DownloadedOrders::Baixados))
        return CliFailed;
    saveReportsInstead(c, *files);
    return status(c, (flow.*printout)() != DownloadedOrders::Printout::NotShown);
}

int printOrder(CliContext &c, AppContext &app)
{
    return print(c, app, &DownloadedOrders::printOrder);
}

int printStores(CliContext &c, AppContext &app)
{
    return print(c, app, &DownloadedOrders::printStores);
}

} // namespace

void addOrderCommands(QList<CliCommand> &commands)
{
    commands
        << CliCommand { u"orders fetch"_s, u"orders fetch"_s, u"busca os pedidos liberados (\"Verificar\")"_s,
               0, 0, withApp(fetch) }
        << CliCommand { u"orders download"_s, u"orders download PEDIDO"_s,
               u"busca os itens de um pedido (\"Baixar\"; confirme com --yes)"_s, 1, 1, withApp(download) }
        << CliCommand { u"orders list"_s, u"orders list"_s,
               u"lista os pedidos guardados: Pedido|TipoStatus|DataLiberado|HoraLib|DataBaixado|HoraBaixa"_s,
               0, 0, withApp(list) }
        << CliCommand { u"orders items"_s, u"orders items PEDIDO"_s, u"lista os itens de um pedido"_s, 1, 1,
               withApp(items) }
        << CliCommand { u"orders totals"_s, u"orders totals PEDIDO"_s,
               u"mostra o total e o total por loja de um pedido baixado ou atendido"_s, 1, 1,
               withApp(totals) }
        << CliCommand { u"orders attend"_s, u"orders attend PEDIDO"_s,
               u"marca um pedido baixado como atendido (F4; confirme com --yes)"_s, 1, 1, withApp(attend) }
        << CliCommand { u"orders unattend"_s, u"orders unattend PEDIDO"_s,
               u"devolve um pedido atendido aos baixados (F11; confirme com --yes)"_s, 1, 1,
               withApp(unattend) }
        << CliCommand { u"orders print"_s, u"orders print PEDIDO [--pdf ARQUIVO] [--xlsx ARQUIVO]"_s,
               u"prepara \"Imprime o Pedido\" e o grava; com --yes marca depois o pedido atendido"_s, 1, 5,
               withApp(printOrder) }
        << CliCommand { u"orders print-stores"_s,
               u"orders print-stores PEDIDO [--pdf ARQUIVO] [--xlsx ARQUIVO]"_s,
               u"prepara \"Distribuição por Loja\" e a grava; com --yes marca depois o pedido atendido"_s, 1,
               5, withApp(printStores) };
}
