#include "app/app_context.h"
#include "cli/cli.h"
#include "cli/listing.h"
#include "exchange/http_client.h"
#include "quotations/price_entry.h"
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "ui/prompts.h"

using namespace Qt::StringLiterals;

namespace {

int status(CliContext &c, bool completed)
{
    return completed && c.prompts().errors() == 0 ? CliOk : CliFailed;
}

// The window "Cotações Liberadas" with its own HTTP client.
class ReleasedRun {
public:
    explicit ReleasedRun(CliContext &c, AppContext &app)
        : m_flow(c.prompts(), app.dm(), app.net(), m_client, app.settings().servidor)
    {
        m_flow.setLogin(c.login());
    }
    ReleasedQuotations &flow() { return m_flow; }

private:
    HttpClient m_client;
    ReleasedQuotations m_flow;
};

int fetch(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.flow().openTables())
        return CliFailed;
    return status(c, run.flow().fetchList());
}

int download(CliContext &c, AppContext &app)
{
    const QString cota = c.options().args.at(0);
    ReleasedRun run(c, app);
    if (!run.flow().openTables())
        return CliFailed;
    if (!app.dm().CotaLiberada().locate(u"Cotacao"_s, {cota})) {
        c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não está no seu banco."_s);
        return CliFailed;
    }
    return status(c, run.flow().downloadItems());
}

int list(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.flow().openTables())
        return CliFailed;
    printRows(c, app.dm().CotaLiberada(),
              {u"Cotacao"_s, u"TipoStatus"_s, u"DataValidade"_s, u"AteHora"_s, u"DataLiberada"_s});
    return CliOk;
}

int items(CliContext &c, AppContext &app)
{
    Table &t = app.dm().CotaFornec();
    t.close();
    t.setIndexName(u"Por_Marca"_s);
    return printFiltered(c, t, u"COTACAO = ?"_s, {c.options().args.at(0)},
                         {u"CONTATO"_s, u"COTACAO"_s, u"DATA"_s, u"PRODUTO"_s, u"PRODFABR"_s, u"DESCRICAO"_s,
                          u"UN"_s, u"MARCA"_s, u"QTDE"_s, u"VALOR"_s, u"SIMILARES"_s, u"OBS"_s, u"QTDELOJA1"_s,
                          u"QTDELOJA2"_s, u"QTDELOJA3"_s, u"NOMELOJA1"_s, u"NOMELOJA2"_s, u"NOMELOJA3"_s});
}

// The price-entry window with the quotation COTA chosen, as "Cotações
// Baixadas" and "Filtra e Sai" choose it; false (message shown) when it is
// not among the downloaded quotations.
bool choose(CliContext &c, PriceEntry &flow)
{
    const QString cota = c.options().args.at(0);
    flow.start();
    const bool chosen
        = flow.chooseQuotation([&](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, {cota}); });
    if (!chosen && c.prompts().errors() == 0)
        c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não está entre as cotações baixadas."_s);
    return chosen;
}

int price(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, flow))
        return CliFailed;
    const QStringList &a = c.options().args;
    const std::optional<QString> similares = a.size() > 3 ? std::optional(a.at(3)) : std::nullopt;
    return status(c, flow.setPrice(a.at(1), a.at(2), similares));
}

int obs(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, flow))
        return CliFailed;
    const QStringList &a = c.options().args;
    if (!flow.selectItem(a.at(1))) {
        c.prompts().message(u"Erro"_s,
                            u"O produto : "_s + a.at(1) + u" não está na cotação : "_s + flow.chosenQuotation());
        return CliFailed;
    }
    c.prompts().pendingInputs = {a.at(2)};
    return status(c, flow.editObservation());
}

int ready(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, flow))
        return CliFailed;
    return status(c, flow.markReady());
}

} // namespace

void addQuotationCommands(QList<CliCommand> &commands)
{
    commands << CliCommand{u"quotations fetch"_s, u"quotations fetch"_s,
                           u"fetch the released quotations (\"Verificar\")"_s, 0, 0, withApp(fetch)}
             << CliCommand{u"quotations download"_s, u"quotations download COTA"_s,
                           u"fetch the items of a quotation (\"Baixar\")"_s, 1, 1, withApp(download)}
             << CliCommand{u"quotations list"_s, u"quotations list"_s,
                           u"print the released quotations: Cotacao|TipoStatus|DataValidade|AteHora|DataLiberada"_s,
                           0, 0, withApp(list)}
             << CliCommand{u"quotations items"_s, u"quotations items COTA"_s,
                           u"print the items of a quotation, by brand"_s, 1, 1, withApp(items)}
             << CliCommand{u"quotations price"_s, u"quotations price COTA PRODUTO VALOR [SIMILARES]"_s,
                           u"type a price (regional format; empty clears it) and a similar item"_s, 3, 4, withApp(price)}
             << CliCommand{u"quotations obs"_s, u"quotations obs COTA PRODUTO TEXT"_s,
                           u"type the observation of an item (F2)"_s, 3, 3, withApp(obs)}
             << CliCommand{u"quotations ready"_s, u"quotations ready COTA"_s,
                           u"declare a downloaded quotation ready to send (\"Pronto Para envio\")"_s, 1, 1, withApp(ready)};
}
