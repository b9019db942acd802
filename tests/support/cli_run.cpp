#include "support/cli_run.h"

#include "cli/cli.h"
#include "support/fake_net.h"
#include "support/temp_folder.h"

#include <QTextStream>

CliRun runCliIn(const TempFolder &dir, const QStringList &args, Connectivity *net)
{
    FakeNet online;
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = runCli(args, dir.path(), o, e, net ? net : &online);
    o.flush();
    e.flush();
    return { status, out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), err };
}
