#include "app/app_context.h"
#include "cli/cli.h"
#include "cli/listing.h"
#include "common/regional.h"
#include "quotations/price_list.h"
#include "store/data_module.h"
#include "store/price_list_store.h"

using namespace Qt::StringLiterals;

namespace {

int importList(CliContext &c, AppContext &app)
{
    PriceList flow(c.prompts(), app.dm().Banco());
    return flow.importFile(c.options().args.at(0)) ? CliOk : CliFailed;
}

// The file first (name|yyyy-MM-dd HH:mm|items), then one line an entry:
// line|brand|code|description|unit|price, as the help names them.
int listList(CliContext &c, AppContext &app)
{
    try {
        Database &db = app.dm().Banco();
        const std::optional<PriceListSource> source = priceListSource(db);
        if (!source) {
            c.prompts().message(u"Atenção"_s, u"Não há tabela de preços."_s);
            return CliOk;
        }
        c.out() << listingText(source->arquivo) << '|' << plainDate(source->importada.date()) << ' '
                << plainTime(source->importada.time()) << '|' << source->itens << '\n';
        forEachPriceListEntry(db, [&c](const PriceListEntry &e) {
            c.out() << e.linha << '|' << listingText(e.marca) << '|' << listingText(e.prodfabr) << '|'
                    << listingText(e.descricao) << '|' << listingText(e.un) << '|' << plainNumber(e.valor)
                    << '\n';
        });
        c.out().flush();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    return CliOk;
}

int clearList(CliContext &c, AppContext &app)
{
    PriceList flow(c.prompts(), app.dm().Banco());
    return flow.clear() && c.prompts().errors() == 0 ? CliOk : CliFailed;
}

} // namespace

void addPriceListCommands(QList<CliCommand> &commands)
{
    commands
        << CliCommand { u"pricelist import"_s, u"pricelist import ARQUIVO"_s,
               u"troca a tabela de preços pela de uma planilha (.xlsx) ou CSV cuja primeira linha nomeia "
               u"MARCA, PRODFABR, VALOR e, se houver, DESCRICAO e UN (\"Tabela de preços\")"_s,
               1, 1, withApp(importList) }
        << CliCommand { u"pricelist list"_s, u"pricelist list"_s,
               u"lista a tabela de preços: Arquivo|Importada|Itens, e depois Linha|Marca|Prodfabr|Descricao|UN|Valor"_s,
               0, 0, withApp(listList) }
        << CliCommand { u"pricelist clear"_s, u"pricelist clear"_s,
               u"esvazia a tabela de preços (confirme com --yes)"_s, 0, 0, withApp(clearList) };
}
