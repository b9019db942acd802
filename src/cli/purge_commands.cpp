#include "app/app_context.h"
#include "cli/cli.h"
#include "common/regional.h"
#include "purge/data_purge.h"

using namespace Qt::StringLiterals;

namespace {

// The buttons of "Apaga dados antigos": an arrow for one kind, "ALL" for
// "Apaga dados antigo", which asks first (--yes answers Yes).
int purge(CliContext &c)
{
    const QString code = c.options().args.at(0);
    const QDate day = isoDate(c.options().args.at(1));
    static const QStringList kinds { u"CL"_s, u"PL"_s, u"CB"_s, u"PB"_s };
    if (code != u"ALL" && !kinds.contains(code))
        return c.usage(u"o código da limpeza é CL, PL, CB, PB ou ALL, não '%1'"_s.arg(code));
    if (!day.isValid())
        return c.usage(u"a data da limpeza se escreve aaaa-MM-dd, não '%1'"_s.arg(c.options().args.at(1)));
    AppContext *app = c.app();
    if (!app)
        return CliFailed;
    DataPurge flow(c.prompts(), app->dm());
    const bool done = code == u"ALL" ? flow.purgeAll(day) : flow.purgeKind(day, code);
    return done ? CliOk : CliFailed;
}

} // namespace

void addPurgeCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { u"purge"_s, u"purge CODIGO DATA"_s,
        u"apaga as linhas com data até DATA (aaaa-MM-dd): CL cotações liberadas, PL pedidos "
        "liberados, CB itens de cotação, PB itens de pedido, ALL as quatro (confirme com --yes)"_s,
        2, 2, purge };
}
