#include "app/instance_guard.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString secondCopyText()
{
    return QStringLiteral("O programa de cotação já está aberto, verifique....");
}

namespace {

QString sessionFolder()
{
    // The runtime folder exists once per log-on session of the user.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

} // namespace

InstanceGuard::InstanceGuard(const QString &name, const QString &folder)
{
    const QString dir = folder.isEmpty() ? sessionFolder() : folder;
    m_path = QDir(dir).filePath(name + QStringLiteral("-%1.lock").arg(::getuid()));
}

InstanceGuard::~InstanceGuard()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceGuard::acquire()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for a lock: never keep the supplier from working
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}
