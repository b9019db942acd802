#pragma once

#include <QString>
#include <QStringList>

class Connectivity;
class TempFolder;

// cotakelvo-cli run in this process with the folder as its default folder.
struct CliRun {
    int status;
    QStringList out; // the lines printed on standard output
    QString err;
};

// The connectivity checks are net's, or, without it, those of a FakeNet
// whose internet and server are up.
CliRun runCliIn(const TempFolder &dir, const QStringList &args, Connectivity *net = nullptr);
