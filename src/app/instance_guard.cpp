#include "app/instance_guard.h"

#include <QDir>
#include <QStandardPaths>

QString secondCopyText()
{
    return QStringLiteral("O programa de cotação já está aberto, verifique....");
}

namespace {

QString lockFilePath(const QString &name, const QString &folder)
{
    // The runtime folder is the user's own and lives as long as the session.
    QString dir
        = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(name + QStringLiteral(".lock"));
}

} // namespace

InstanceGuard::InstanceGuard(const QString &name, const QString &folder)
    : m_path(lockFilePath(name, folder))
    , m_lock(m_path)
{
    // Only a dead owner makes a lock stale, never its age: the program may
    // run for days.
    m_lock.setStaleLockTime(0);
}

bool InstanceGuard::acquire()
{
    if (m_lock.isLocked() || m_lock.tryLock(0))
        return true;
    // No place for a lock must never keep the supplier from working.
    return m_lock.error() != QLockFile::LockFailedError;
}
