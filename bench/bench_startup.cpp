// Start-up of the program: from process start to the main window shown, and
// the resident memory then. The program's own start-up sequence runs in
// this process on the offscreen platform against a folder made ready as the
// install step leaves it, with a live server on loopback.
#include "app/app_context.h"
#include "app/main_workflow.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "config/credential_file.h"
#include "store/schema.h"
#include "ui/silent_prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {


double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// Seconds since this process started, from the kernel's process table.
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / double(sysconf(_SC_CLK_TCK));
}

struct ReadyFolder {
    QTemporaryDir dir;
    QTcpServer server;
    ReadyFolder()
    {
        server.listen(QHostAddress::LocalHost);
        QFile f(dir.filePath(QStringLiteral("server.new")));
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral("http://127.0.0.1:%1/\r\n").arg(server.serverPort()).toLatin1());
        writeCredentials(dir.path(), QStringLiteral("FORNECEDOR"), QStringLiteral("SENHA"));
        createDatabase(dir.filePath(QStringLiteral("CotaKelvo.new")));
    }
};

void startOnce(const QString &folder)
{
    SilentPrompts prompts;
    AppContext context(folder);
    MainWorkflow workflow(prompts, context.net(), context.settings());
    AppLauncher launcher(context, prompts);
    TFKelvoCota window(prompts, workflow, context.settings(), launcher);
    if (!context.start(prompts))
        return;
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.lbServidor());
}

double firstShownSeconds = 0;
double firstShownMiB = 0;

void BM_StartupToMainWindowShown(benchmark::State &state)
{
    ReadyFolder folder;
    for (auto _ : state)
        startOnce(folder.dir.path());
    state.counters["first_start_to_shown_ms"] = firstShownSeconds * 1000.0;
    state.counters["rss_at_first_shown_MiB"] = firstShownMiB;
    state.counters["rss_now_MiB"] = residentMiB();
}
BENCHMARK(BM_StartupToMainWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // The first start, timed from the moment the process began; making
        // the folder ready is the install step's work and is left out.
        QElapsedTimer prepare;
        prepare.start();
        ReadyFolder folder;
        const double prepareSeconds = double(prepare.nsecsElapsed()) / 1e9;
        startOnce(folder.dir.path());
        firstShownSeconds = secondsSinceProcessStart() - prepareSeconds;
        firstShownMiB = residentMiB();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
