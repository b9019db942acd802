#pragma once

#include "store/store_backup.h"
#include "ui/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDm;

// Puts a copy in the place of the store: a backup chosen in the window "Apaga
// dados antigos", or a file named on the command line, by the same checks
// and steps. The store that was there is kept as a backup beside it, and no
// backup is deleted.
class StoreRestore final {
public:
    StoreRestore(Prompts &prompts, TDm &dm, QString storePath);
    Q_DISABLE_COPY_MOVE(StoreRestore)

    // The backups beside the store, newest first.
    QList<StoreBackup> backups() const;

    // "Restaurar cópia…": lists the backups, asks before putting the chosen
    // one in place (No preselected), and restores it. True when the store was
    // replaced.
    bool restoreChosen();

    // Checks the file and puts it in place of the store. The data module lets
    // go of the file meanwhile (its tables and queries close, every window's
    // with them) and opens the store again afterwards, the restored one or,
    // when the restore failed, the one that stayed. True when the store was
    // replaced; every outcome is shown.
    bool restore(const QString &file);

    // The list of backups: its caption and text, its columns and a backup's
    // row in it.
    static QString choiceCaption();
    static QString choiceText();
    static QStringList columns();
    static QStringList row(const StoreBackup &backup);

private:
    Prompts &m_prompts;
    TDm &m_dm;
    QString m_storePath;
};
