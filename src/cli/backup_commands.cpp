#include "app/app_context.h"
#include "app/instance_guard.h"
#include "cli/cli.h"
#include "store/data_module.h"
#include "store/store_backup.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

int backup(CliContext &c, AppContext &app)
{
    const QString target = QFileInfo(c.options().args.at(0)).absoluteFilePath();
    try {
        writeStoreCopy(app.dm().Banco(), target);
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    c.out() << "cópia gravada: " << target << Qt::endl;
    return CliOk;
}

// The store is replaced only while no copy of the program has it open: the
// program's own single-instance lock is taken for the whole time.
int restore(CliContext &c)
{
    InstanceGuard guard(u"kelvocota"_s, c.options().lockFolder);
    if (!guard.acquire()) {
        c.prompts().message(
            u"Erro"_s, u"O programa de cotação está aberto: feche-o antes de restaurar o banco."_s);
        return CliFailed;
    }
    const QString store = QDir(c.options().dir).absoluteFilePath(databaseFileName());
    QString kept;
    try {
        kept = restoreStoreFile(store, c.options().args.at(0));
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    c.out() << "banco restaurado: " << store << Qt::endl;
    if (!kept.isEmpty())
        c.out() << "banco anterior guardado em: " << kept << Qt::endl;
    return CliOk;
}

} // namespace

void addBackupCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { u"backup"_s, u"backup FILE"_s,
        u"write an encrypted copy of the database to FILE (never overwrites)"_s, 1, 1, withApp(backup) }
             << CliCommand { u"restore"_s, u"restore FILE"_s,
                    u"check FILE and put it in place of the database, keeping the current one as a "
                    "backup beside it (refused while the program runs)"_s,
                    1, 1, restore };
}
