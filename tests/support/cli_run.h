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
