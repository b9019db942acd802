#include "app/app_context.h"
#include "app/day_summary.h"
#include "app/main_workflow.h"
#include "cli/cli.h"
#include "config/set_up_workflow.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/stored_row_count.h"
#include "ui/prompts.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

int initDb(CliContext &c)
{
    const QString path = QDir(c.options().dir).absoluteFilePath(databaseFileName());
    if (QFileInfo::exists(path)) {
        c.prompts().message(
            QStringLiteral("Erro"), QStringLiteral("O banco '%1' já existe e não foi alterado.").arg(path));
        return CliFailed;
    }
    try {
        QDir().mkpath(c.options().dir);
        createDatabase(path);
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    c.out() << "banco criado: " << path << Qt::endl;
    return CliOk;
}

int setUser(CliContext &c)
{
    Settings settings;
    SetUpWorkflow setup(c.prompts(), c.options().dir, settings);
    // The fields of the set-up window hold upper case only.
    const bool saved = setup.save(c.options().args.at(0).toUpper(), c.options().args.at(1).toUpper());
    return saved ? CliOk : CliFailed;
}

int printStatus(CliContext &c)
{
    AppContext *app = c.app(false);
    if (!app)
        return CliFailed;
    c.out() << "servidor: " << app->settings().servidor << Qt::endl;
    c.out() << "usuario: " << app->settings().usuario << Qt::endl;
    c.out() << "banco: " << app->databasePath() << Qt::endl;
    if (!app->storeOpen())
        return CliFailed;
    TDm &dm = app->dm();
    int result = CliOk;
    for (const TableSchema *table :
        { &cotaLiberadasSchema(), &cotacaoForncSchema(), &pedidosLiberadosSchema(), &pedidoForncSchema() }) {
        try {
            c.out() << table->name << ": " << countStoredRows(dm.Banco(), table->name) << Qt::endl;
        } catch (const std::exception &e) {
            c.prompts().error(errorText(e));
            result = CliFailed;
        }
    }
    return result;
}

int check(CliContext &c)
{
    AppContext *app = c.app(false);
    if (!app)
        return CliFailed;
    MainWorkflow main(c.prompts(), app->net(), app->settings());
    const InternetStatus status = main.internetCheck();
    c.out() << status.text << Qt::endl;
    return status.ok ? CliOk : CliFailed;
}

// The day at a glance of the main window, one count per line.
int today(CliContext &c, AppContext &app)
{
    std::optional<DayCounts> counts;
    try {
        counts = countDay(app);
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    if (!counts)
        return CliFailed; // the start has said why the store did not open
    for (const QString &line : dayCountLines(*counts))
        c.out() << line << '\n';
    c.out().flush();
    return CliOk;
}

} // namespace

void addCoreCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { QStringLiteral("init-db"), QStringLiteral("init-db"),
        QStringLiteral("cria o banco CotaKelvo.new (nunca sobrescreve)"), 0, 0, initDb }
             << CliCommand { QStringLiteral("set-user"), QStringLiteral("set-user USUARIO SENHA"),
                    QStringLiteral("grava usuário e senha, como o \"Grava\" da janela de configuração"), 2, 2,
                    setUser }
             << CliCommand { QStringLiteral("status"), QStringLiteral("status"),
                    QStringLiteral("mostra o servidor, o usuário, o banco e as linhas de cada tabela"), 0, 0,
                    printStatus }
             << CliCommand { QStringLiteral("check"), QStringLiteral("check"),
                    QStringLiteral("faz a verificação de internet da janela principal"), 0, 0, check }
             << CliCommand { QStringLiteral("today"), QStringLiteral("today"),
                    QStringLiteral("as cotações que vencem em 24 horas, as vencidas sem envio e os pedidos a "
                                   "atender, como a janela principal os mostra"),
                    0, 0, withApp(today) };
}
