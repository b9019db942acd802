#include "purge/store_restore.h"

#include "common/regional.h"
#include "store/data_module.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString sizeText(qint64 bytes)
{
    return numberText(std::ceil(double(bytes) / 1024.0), u"#,##0"_s) + u" KB"_s;
}

QString count(qint64 rows)
{
    return rows < 0 ? u"ilegível"_s : numberText(double(rows), u"#,##0"_s);
}

QString question(const StoreBackup &backup)
{
    QString what = u"cópia de "_s + dateTimeText(backup.madeAt);
    if (backup.quotations >= 0)
        what += u" (%1 cotações, %2 pedidos)"_s.arg(count(backup.quotations), count(backup.orders));
    return u"O banco em uso será substituído pela %1. O banco atual fica guardado como uma nova cópia. "
           "Confirma???"_s.arg(what);
}

} // namespace

StoreRestore::StoreRestore(Prompts &prompts, TDm &dm, QString storePath)
    : m_prompts(prompts)
    , m_dm(dm)
    , m_storePath(QFileInfo(storePath).absoluteFilePath())
{
}

QList<StoreBackup> StoreRestore::backups() const
{
    return storeBackups(m_storePath);
}

QString StoreRestore::choiceCaption()
{
    return u"Restaurar cópia"_s;
}

QString StoreRestore::choiceText()
{
    return u"Escolha a cópia que volta a ser o banco em uso:"_s;
}

QStringList StoreRestore::columns()
{
    return { u"Data"_s, u"Tamanho"_s, u"Cotações"_s, u"Pedidos"_s, u"Arquivo"_s };
}

QStringList StoreRestore::row(const StoreBackup &backup)
{
    return { dateTimeText(backup.madeAt), sizeText(backup.size), count(backup.quotations),
        count(backup.orders), QFileInfo(backup.path).fileName() };
}

bool StoreRestore::restoreChosen()
{
    const QList<StoreBackup> list = backups();
    if (list.isEmpty()) {
        m_prompts.message(Atencao,
            u"Não há cópias do banco em %1: elas são gravadas antes de cada exclusão de dados."_s.arg(
                shown(QFileInfo(m_storePath).absolutePath())));
        return false;
    }
    QList<QStringList> rows;
    for (const StoreBackup &backup : list)
        rows << row(backup);
    const int chosen = m_prompts.choose(choiceCaption(), choiceText(), columns(), rows);
    if (chosen < 0 || chosen >= list.size())
        return false;
    if (!m_prompts.ask(Atencao, question(list.at(chosen))))
        return false;
    return restore(list.at(chosen).path);
}

bool StoreRestore::restore(const QString &file)
{
    Database &db = m_dm.Banco();
    if (db.inTransaction()) {
        m_prompts.error(u"O banco não foi restaurado: há uma gravação em andamento"_s);
        return false;
    }
    // Replacing the file is a rename, which a file held open refuses (or, on
    // some systems, lets the connection go on writing into the old file).
    const bool wasOpen = db.isOpen();
    db.close();
    QString kept;
    bool restored = false;
    try {
        kept = restoreStoreFile(m_storePath, file);
        restored = true;
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
    if (restored) {
        QString text = u"Banco restaurado da cópia %1."_s.arg(shown(QFileInfo(file).absoluteFilePath()));
        if (!kept.isEmpty())
            text += u"\nO banco que estava em uso foi guardado em %1."_s.arg(shown(kept));
        m_prompts.message(Atencao, text);
    }
    if (restored || wasOpen) {
        try {
            m_dm.openStore(m_storePath);
        } catch (const std::exception &e) {
            m_prompts.error(errorText(e));
        }
    }
    return restored;
}
