#include "app/app_context.h"
#include "app/instance_guard.h"
#include "cli/cli.h"
#include "cli/listing.h"
#include "common/regional.h"
#include "purge/store_restore.h"
#include "store/data_module.h"
#include "store/store_backup.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString storePath(CliContext &c)
{
    return QDir(c.options().dir).absoluteFilePath(databaseFileName());
}

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

// The list "Restaurar cópia…" shows, newest first.
int backups(CliContext &c)
{
    for (const StoreBackup &b : storeBackups(storePath(c))) {
        const auto count = [](qint64 rows) { return rows < 0 ? QString() : QString::number(rows); };
        c.out() << QStringList { listingText(b.path), plainDate(b.madeAt.date()), plainTime(b.madeAt.time()),
            QString::number(b.size), count(b.quotations), count(b.orders), listingText(b.problem) }
                       .join(u'|')
                << Qt::endl;
    }
    return CliOk;
}

// The store is replaced only while no copy of the program has it open: the
// program's own single-instance lock is taken for the whole time. The
// store is not opened first: it may be the damaged one being replaced.
int restore(CliContext &c)
{
    InstanceGuard guard(u"kelvocota"_s, c.options().lockFolder);
    if (!guard.acquire()) {
        c.prompts().message(
            u"Erro"_s, u"O programa de cotação está aberto: feche-o antes de restaurar o banco."_s);
        return CliFailed;
    }
    TDm dm;
    StoreRestore flow(c.prompts(), dm, storePath(c));
    return flow.restore(c.options().args.at(0)) ? CliOk : CliFailed;
}

} // namespace

void addBackupCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { u"backup"_s, u"backup ARQUIVO"_s,
        u"grava em ARQUIVO uma cópia cifrada do banco (nunca sobrescreve)"_s, 1, 1, withApp(backup) }
             << CliCommand { u"backups"_s, u"backups"_s,
                    u"lista as cópias ao lado do banco, a mais nova primeiro: "
                    "ARQUIVO|DATA|HORA|BYTES|COTACOES|PEDIDOS|PROBLEMA"_s,
                    0, 0, backups }
             << CliCommand { u"restore"_s, u"restore ARQUIVO"_s,
                    u"confere ARQUIVO e o põe no lugar do banco, guardando o atual como cópia ao lado "
                    "(recusado com o programa aberto; nenhuma cópia é apagada)"_s,
                    1, 1, restore };
}
