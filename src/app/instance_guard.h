#pragma once

#include <QLockFile>
#include <QString>

// Lets one copy of the program run per log-on session. The lock is held for
// the life of the process; a lock left behind by a copy that died is taken
// over, so a killed copy never blocks the next start.
class InstanceGuard final {
public:
    // name: "kelvocota"; folder: where the lock lives (by default the user's
    // runtime folder, which belongs to the log-on session).
    explicit InstanceGuard(const QString &name, const QString &folder = QString());
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    // True when this process now owns the lock; false when another copy does.
    bool acquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    QLockFile m_lock;
};

QString secondCopyText();
