#pragma once

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// A file the program keeps to its owner, as far as the system's file
// permissions go. On POSIX: the owner may read and write it, nobody else
// anything. On Windows QFile knows only the read-only flag, so all it can
// tell is that the owner may read and write the file; what keeps others out
// there is the user's own folder (README).
inline ::testing::AssertionResult isOwnersOnly(const QString &path)
{
    const QFileDevice::Permissions all = QFile::permissions(path);
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
#ifdef Q_OS_WIN
    const QFileDevice::Permissions others {};
#else
    const QFileDevice::Permissions others = QFileDevice::ExeOwner | QFileDevice::ReadGroup
        | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
#endif
    if ((all & owner) == owner && !(all & others))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << path.toStdString() << " has the permissions 0x" << std::hex << int(all);
}
