#pragma once

#include <QString>

// Lets one copy of the program run per log-on session. The lock is held for
// the life of the process and released by the system when the process ends,
// so a killed copy never blocks the next start.
class InstanceGuard final {
public:
    // name: "kelvocota"; folder: where the lock lives (by default the user's
    // runtime folder, which belongs to the log-on session).
    explicit InstanceGuard(const QString &name, const QString &folder = QString());
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    // True when this process now owns the lock; false when another copy does.
    bool acquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    int m_fd = -1;
};

QString secondCopyText();
