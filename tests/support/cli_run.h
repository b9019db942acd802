#pragma once

#include <QString>
#include <QStringList>

class TempFolder;

// cotakelvo-cli run in this process with the folder as its default folder.
struct CliRun {
    int status;
    QStringList out; // the lines printed on standard output
    QString err;
};

CliRun runCliIn(const TempFolder &dir, const QStringList &args);

// The same on a machine that counts as connected: the internet check looks
// at the machine's network interfaces, which a test must not depend on. The
// server check stays the real one.
CliRun runCliOnline(const TempFolder &dir, const QStringList &args);
