#include "support/cli_run.h"

#include "cli/cli.h"
#include "exchange/connectivity.h"
#include "support/temp_folder.h"

#include <QTextStream>

namespace {

class ConnectedMachine final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &servidor) override { return m_system.checkkelvo(servidor); }

private:
    SystemConnectivity m_system;
};

CliRun run(const TempFolder &dir, const QStringList &args, ConnectivityFactory net)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = runCli(args, dir.path(), o, e, std::move(net));
    o.flush();
    e.flush();
    return {status, out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), err};
}

} // namespace

CliRun runCliIn(const TempFolder &dir, const QStringList &args)
{
    return run(dir, args, {});
}

CliRun runCliOnline(const TempFolder &dir, const QStringList &args)
{
    return run(dir, args, [] { return std::make_unique<ConnectedMachine>(); });
}
