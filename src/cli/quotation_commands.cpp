#include "app/app_context.h"
#include "cli/cli.h"
#include "cli/listing.h"
#include "common/clock.h"
#include "common/regional.h"
#include "exchange/http_client.h"
#include "quotations/last_prices.h"
#include "quotations/price_entry.h"
#include "quotations/quotation_deadline.h"
#include "quotations/released_quotations.h"
#include "quotations/sent_quotations.h"
#include "quotations/spreadsheet_exchange.h"
#include "report/report_pdf.h"
#include "report/report_xlsx.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "ui/prompts.h"

#include <QFileInfo>

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

// Moves CotaLiberadas to the quotation; false, with the refusal printed,
// when the store does not have it.
bool locateStored(CliContext &c, Table &released, const QString &cota)
{
    if (released.locate(u"Cotacao"_s, { cota }))
        return true;
    c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não está no seu banco."_s);
    return false;
}

int download(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.flow().openTables() || !locateStored(c, app.dm().CotaLiberada(), c.options().args.at(0)))
        return CliFailed;
    return status(c, run.flow().downloadItems());
}

int list(CliContext &c, AppContext &app)
{
    ReleasedRun run(c, app);
    if (!run.flow().openTables())
        return CliFailed;
    printRows(c, app.dm().CotaLiberada(),
        { u"Cotacao"_s, u"TipoStatus"_s, u"DataValidade"_s, u"AteHora"_s, u"DataLiberada"_s });
    return CliOk;
}

// CONTATO|COTACAO|DATA|PRODUTO|PRODFABR|DESCRICAO|UN|MARCA|QTDE|VALOR|
// SIMILARES|OBS|QTDELOJA1|QTDELOJA2|QTDELOJA3|NOMELOJA1|NOMELOJA2|NOMELOJA3
int items(CliContext &c, AppContext &app)
{
    TDm &dm = app.dm();
    try {
        dm.showQuotationItems(c.options().args.at(0));
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    for (const QuotationItemRow &r : dm.CotaFornec().rows()) {
        printRecord(c,
            { listingText(r.contato), listingText(r.cotacao),
                r.data.isValid() ? plainDate(r.data) : QString(), listingText(r.produto),
                listingText(r.prodfabr), listingText(r.descricao), listingText(r.un), listingText(r.marca),
                plainNumber(r.qtde), plainNumber(r.valor), listingText(r.similares), listingText(r.obs),
                plainNumber(r.qtdeLoja1), plainNumber(r.qtdeLoja2), plainNumber(r.qtdeLoja3),
                listingText(r.nomeLoja1), listingText(r.nomeLoja2), listingText(r.nomeLoja3) });
    }
    c.out().flush();
    return CliOk;
}

// The price-entry window with the quotation COTA chosen, as "Cotações
// Baixadas" and "Filtra e Sai" choose it; false (message shown) when it is
// not among the downloaded quotations.
bool choose(CliContext &c, AppContext &app, PriceEntry &flow)
{
    const QString cota = c.options().args.at(0);
    Table &released = app.dm().CotaLiberada();
    try {
        if (!released.isOpen())
            released.open();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return false;
    }
    if (!locateStored(c, released, cota))
        return false;
    flow.start();
    const bool chosen
        = flow.chooseQuotation([&](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, { cota }); });
    if (!chosen && c.prompts().errors() == 0)
        c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não está entre as cotações baixadas."_s);
    return chosen;
}

int price(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, app, flow))
        return CliFailed;
    const QStringList &a = c.options().args;
    // The grid's cell takes no more than the column keeps.
    const int size = cotacaoForncField(CotacaoForncColumn::SIMILARES).size;
    const std::optional<QString> similares
        = a.size() > 3 ? std::optional(c.prompts().fitted(u"Atenção"_s, a.at(3), size)) : std::nullopt;
    return status(c, flow.setPrice(a.at(1), a.at(2), similares));
}

int obs(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, app, flow))
        return CliFailed;
    const QStringList &a = c.options().args;
    if (!flow.selectItem(a.at(1))) {
        c.prompts().message(
            u"Erro"_s, u"O produto : "_s + a.at(1) + u" não está na cotação : "_s + flow.chosenQuotation());
        return CliFailed;
    }
    c.prompts().pendingInputs = { a.at(2) };
    return status(c, flow.editObservation());
}

int ready(CliContext &c, AppContext &app)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, app, flow))
        return CliFailed;
    return status(c, flow.markReady());
}

int print(CliContext &c)
{
    QString pdf, xlsx;
    const QStringList &a = c.options().args;
    for (qsizetype i = 1; i < a.size(); i += 2) {
        QString *target = a.at(i) == u"--pdf" ? &pdf : a.at(i) == u"--xlsx" ? &xlsx : nullptr;
        if (!target || i + 1 >= a.size())
            return c.usage(u"uso: cotakelvo-cli quotations print COTA [--pdf ARQUIVO] [--xlsx ARQUIVO]"_s);
        *target = a.at(i + 1);
    }
    AppContext *app = c.app();
    if (!app)
        return CliFailed;
    PriceEntry flow(c.prompts(), app->dm());
    if (!choose(c, *app, flow))
        return CliFailed;
    std::optional<ReportPreparation> preparation = flow.preparePrintout();
    if (!preparation)
        return CliFailed;
    const PreparedReport report = preparation->take();
    c.out() << "pages: " << report.pages.size() << Qt::endl;
    try {
        if (!pdf.isEmpty())
            writeReportPdf(report, pdf);
        if (!xlsx.isEmpty())
            writeReportXlsx(report, xlsx);
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
    }
    return status(c, true);
}

// The spreadsheet buttons of the price entry, their file dialog answered
// with FILE (as a full path: the import checks the quotation number in it).
int exchange(CliContext &c, AppContext &app, bool import)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, app, flow))
        return CliFailed;
    c.prompts().pendingFiles = { QFileInfo(c.options().args.at(1)).absoluteFilePath() };
    SpreadsheetExchange sheet(c.prompts(), app.dm());
    return status(c, import ? sheet.importItems() : sheet.exportItems());
}

// "Cotações Respondidas e Enviadas": the quotations with items, or the items
// of one with the label the window shows under them.
int answered(CliContext &c, AppContext &app)
{
    SentQuotations flow(c.prompts(), app.dm());
    if (!flow.openQueries())
        return CliFailed;
    if (c.options().args.isEmpty()) {
        printRows(c, app.dm().ConsCotaCab(), { u"Cotacao"_s, u"Data"_s, u"TipoStatus"_s });
        return CliOk;
    }
    const QString cota = c.options().args.at(0);
    if (!flow.selectQuotation(cota)) {
        c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não tem itens no seu banco."_s);
        return CliFailed;
    }
    printRows(c, app.dm().ConsCotaItens(),
        { u"Marca"_s, u"Prodfabr"_s, u"Similares"_s, u"Descricao"_s, u"UN"_s, u"Qtde"_s, u"Valor"_s,
            u"Total"_s });
    c.out() << flow.totalText() << Qt::endl;
    return CliOk;
}

// One line per quotation not yet "Enviada", soonest first, with the minutes
// left by the clock (negative once past).
int deadlines(CliContext &c, AppContext &app)
{
    QList<QuotationDeadline> pending;
    try {
        pending = pendingDeadlines(app.dm().Banco());
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    const QDateTime now = Clock::current().now();
    for (const QuotationDeadline &q : pending) {
        QStringList line { listingText(q.cotacao), listingText(q.tipoStatus), QString(), QString() };
        if (q.deadline) {
            line[2] = q.deadline->toString(u"yyyy-MM-ddTHH:mm"_s);
            line[3] = QString::number(minutesLeft(*q.deadline, now));
        }
        c.out() << line.join(u'|') << '\n';
    }
    c.out().flush();
    return CliOk;
}

int lastPrices(CliContext &c, AppContext &app)
{
    const QString cota = c.options().args.at(0);
    QuotationLastPrices prices;
    try {
        prices = lastPricesOf(app.dm().Banco(), cota);
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    if (prices.items == 0) {
        c.prompts().message(u"Erro"_s, u"A cotação : "_s + cota + u" não tem itens no seu banco."_s);
        return CliFailed;
    }
    for (const ItemLastPrice &item : prices.found) {
        c.out() << QStringList { listingText(item.produto), listingText(item.marca),
            listingText(item.prodfabr), plainNumber(item.price.valor), listingText(item.price.cotacao),
            plainDate(item.price.data) }
                       .join(u'|')
                << '\n';
    }
    c.out().flush();
    return CliOk;
}

// "Últimos preços" or "Preços da tabela": every item without a price.
int fill(CliContext &c, AppContext &app, PriceSource source)
{
    PriceEntry flow(c.prompts(), app.dm());
    if (!choose(c, app, flow))
        return CliFailed;
    return status(c, flow.fillPrices(source));
}

int fillLast(CliContext &c, AppContext &app)
{
    return fill(c, app, PriceSource::LastPrice);
}

int fillList(CliContext &c, AppContext &app)
{
    return fill(c, app, PriceSource::PriceList);
}

} // namespace

void addQuotationCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { u"quotations fetch"_s, u"quotations fetch"_s,
        u"busca as cotações liberadas (\"Verificar\")"_s, 0, 0, withApp(fetch) }
             << CliCommand { u"quotations download"_s, u"quotations download COTA"_s,
                    u"busca os itens de uma cotação (\"Baixar\")"_s, 1, 1, withApp(download) }
             << CliCommand { u"quotations list"_s, u"quotations list"_s,
                    u"lista as cotações liberadas: Cotacao|TipoStatus|DataValidade|AteHora|DataLiberada"_s, 0,
                    0, withApp(list) }
             << CliCommand { u"quotations items"_s, u"quotations items COTA"_s,
                    u"lista os itens de uma cotação, por marca"_s, 1, 1, withApp(items) }
             << CliCommand { u"quotations price"_s, u"quotations price COTA PRODUTO VALOR [SIMILARES]"_s,
                    u"digita um preço (formato regional; vazio o apaga) e um similar"_s, 3, 4,
                    withApp(price) }
             << CliCommand { u"quotations obs"_s, u"quotations obs COTA PRODUTO TEXTO"_s,
                    u"digita a observação de um item (F2)"_s, 3, 3, withApp(obs) }
             << CliCommand { u"quotations ready"_s, u"quotations ready COTA"_s,
                    u"declara uma cotação baixada pronta para envio (\"Pronto Para envio\")"_s, 1, 1,
                    withApp(ready) }
             << CliCommand { u"quotations print"_s,
                    u"quotations print COTA [--pdf ARQUIVO] [--xlsx ARQUIVO]"_s,
                    u"prepara a impressão (\"Imprime Cotação\"), imprime as páginas, grava os arquivos"_s, 1,
                    5, print }
             << CliCommand { u"quotations export"_s, u"quotations export COTA ARQUIVO"_s,
                    u"grava os itens numa planilha (\"Exporta para o Excel\"), substituindo ARQUIVO"_s, 2, 2,
                    withApp([](CliContext &c, AppContext &app) { return exchange(c, app, false); }) }
             << CliCommand { u"quotations import"_s, u"quotations import COTA ARQUIVO"_s,
                    u"lê preços e similares de uma planilha (\"Importa do Excel\")"_s, 2, 2,
                    withApp([](CliContext &c, AppContext &app) { return exchange(c, app, true); }) }
             << CliCommand { u"quotations answered"_s, u"quotations answered [COTA]"_s,
                    u"lista as cotações com itens: Cotacao|Data|TipoStatus; com COTA, os itens dela: "
                    "Marca|Prodfabr|Similares|Descricao|UN|Qtde|Valor|Total, e depois o total"_s,
                    0, 1, withApp(answered) }
             << CliCommand { u"quotations deadlines"_s, u"quotations deadlines"_s,
                    u"lista as cotações ainda não enviadas, o prazo mais próximo primeiro: "
                    "Cotacao|TipoStatus|aaaa-MM-ddTHH:mm|minutos restantes (negativo quando vencido)"_s,
                    0, 0, withApp(deadlines) }
             << CliCommand { u"quotations last-prices"_s, u"quotations last-prices COTA"_s,
                    u"lista os itens de uma cotação que já tiveram preço em outra: "
                    "PRODUTO|MARCA|PRODFABR|VALOR|COTACAO|DATA"_s,
                    1, 1, withApp(lastPrices) }
             << CliCommand { u"quotations fill-last"_s, u"quotations fill-last COTA"_s,
                    u"dá a cada item sem preço o seu último preço (\"Últimos preços\"; confirme "
                    "com --yes)"_s,
                    1, 1, withApp(fillLast) }
             << CliCommand { u"quotations fill-list"_s, u"quotations fill-list COTA"_s,
                    u"dá a cada item sem preço o preço da tabela de preços, se a unidade for a mesma "
                    "(\"Preços da tabela\"; confirme com --yes)"_s,
                    1, 1, withApp(fillList) };
}
