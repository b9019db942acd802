// Start-up of the program as a fresh process: from starting it to its main
// window painted, and the resident memory then. Each run starts this
// executable anew in "--program" mode, which runs the program's own start-up
// (runCotaKelvo) on the offscreen platform against a folder made ready as the
// install step leaves it, with a live server on loopback, and reports once
// the main window has painted. The median of the runs is the figure.
#include "app/widgets/program.h"
#include "config/credential_file.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

namespace {

const char *const ProgramMode = "--program";

double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// Reports "painted RSS_MiB" on standard output after the first paint of the
// main window, then ends the program.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // After this paint is done.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::printf("painted %.1f\n", residentMiB());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

int runProgram(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    int programArgc = 1;
    FirstPaint firstPaint;
    ProgramPlaces places;
    places.folder = QString::fromLocal8Bit(argv[2]);
    places.lockFolder = QString::fromLocal8Bit(argv[3]);
    places.shown = [&firstPaint](QWidget &mainWindow) { mainWindow.installEventFilter(&firstPaint); };
    return runCotaKelvo(programArgc, argv, places);
}

// A folder as the install step leaves it, and the buyer's server listening.
struct ReadyFolder {
    QTemporaryDir dir;
    QTemporaryDir lockDir;
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

struct Start {
    bool painted = false;
    double seconds = 0;
    double residentMiB = 0;
};

// Starts the program and waits for its report; ends the process before
// returning.
Start startProgram(const ReadyFolder &folder)
{
    Start start;
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    program.start(QCoreApplication::applicationFilePath(),
        { QString::fromLatin1(ProgramMode), folder.dir.path(), folder.lockDir.path() });
    while (!start.painted && (program.canReadLine() || program.waitForReadyRead(60000))) {
        const QByteArray line = program.readLine().trimmed();
        if (line.startsWith("painted ")) {
            start.seconds = double(clock.nsecsElapsed()) / 1e9;
            start.painted = true;
            start.residentMiB = line.mid(8).toDouble();
        }
    }
    if (!program.waitForFinished(60000))
        program.kill();
    program.waitForFinished();
    return start;
}

void BM_FreshStartToMainWindowPainted(benchmark::State &state)
{
    ReadyFolder folder;
    startProgram(folder); // warm-up: the files in the system's cache
    double resident = 0;
    for (auto _ : state) {
        const Start start = startProgram(folder);
        if (!start.painted) {
            state.SkipWithError("the program did not paint its main window");
            break;
        }
        state.SetIterationTime(start.seconds);
        resident = start.residentMiB;
    }
    state.counters["rss_at_painted_MiB"] = resident;
}
BENCHMARK(BM_FreshStartToMainWindowPainted)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], ProgramMode) == 0)
        return runProgram(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
