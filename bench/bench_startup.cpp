// Start-up of the program as a fresh process: from starting it to its main
// window painted, and the resident memory then. Each run starts this
// executable anew in "--program" mode, which runs the program's own start-up
// (runCotaKelvo) on the offscreen platform against a folder made ready as the
// install step leaves it, with a live server on loopback, and reports once
// the main window has painted. The median of the runs is the figure.
#include "app/widgets/program.h"
#include "config/credential_file.h"
#include "exchange/connectivity.h"
#include "store/schema.h"
#include "support/fake_net.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
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

// Reports "status TEXT" (the main window's status line) and "painted
// RSS_MiB" on standard output after the first paint of the main window,
// then ends the program.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const auto *line = watched->findChild<QLabel *>(QStringLiteral("lbServidor"));
            const QByteArray status = line ? line->text().toUtf8() : QByteArray();
            // After this paint is done.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [status] {
                    std::printf("status %s\n", status.constData());
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
    // Online whatever the machine's interfaces; the server check is the
    // system's, a real connection on loopback.
    FakeNet net;
    net.realServerCheck = true;
    ProgramPlaces places;
    places.net = &net;
    places.folder = QString::fromLocal8Bit(argv[2]);
    places.lockFolder = QString::fromLocal8Bit(argv[3]);
    places.shown = [&firstPaint](QWidget &mainWindow) { mainWindow.installEventFilter(&firstPaint); };
    return runCotaKelvo(programArgc, argv, places);
}

// A server on loopback that never answers a connection: its queue of
// connections not yet accepted is full, so the system drops every further
// attempt and the client waits, as for a host that is down (Linux).
class SilentServer {
public:
    SilentServer()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr *>(&address), length) != 0
            || listen(m_fd, 0) != 0
            || getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address);
            m_queued.push_back(client);
        }
    }
    ~SilentServer()
    {
        for (const int client : m_queued)
            close(client);
        if (m_fd >= 0)
            close(m_fd);
    }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    std::vector<int> m_queued;
};

// A folder as the install step leaves it, and the buyer's server listening
// (or, silent, taking no connection at all).
struct ReadyFolder {
    QTemporaryDir dir;
    QTemporaryDir lockDir;
    QTcpServer server;
    std::unique_ptr<SilentServer> silent;
    explicit ReadyFolder(bool silentServer = false)
    {
        server.listen(QHostAddress::LocalHost);
        quint16 port = server.serverPort();
        if (silentServer) {
            silent = std::make_unique<SilentServer>();
            port = silent->port();
        }
        QFile f(dir.filePath(QStringLiteral("server.new")));
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral("http://127.0.0.1:%1/\r\n").arg(port).toLatin1());
        writeCredentials(dir.path(), QStringLiteral("FORNECEDOR"), QStringLiteral("SENHA"));
        createDatabase(dir.filePath(QStringLiteral("CotaKelvo.new")));
    }
};

struct Start {
    QString status; // the status line when the window painted
    bool painted = false;
    double seconds = 0;
    double residentMiB = 0;
    double exitSeconds = 0; // from the paint to the end of the process
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
        if (line.startsWith("status "))
            start.status = QString::fromUtf8(line.mid(7));
        if (line.startsWith("painted ")) {
            start.seconds = double(clock.nsecsElapsed()) / 1e9;
            start.painted = true;
            start.residentMiB = line.mid(8).toDouble();
        }
    }
    if (!program.waitForFinished(60000))
        program.kill();
    program.waitForFinished();
    start.exitSeconds = double(clock.nsecsElapsed()) / 1e9 - start.seconds;
    return start;
}

// Starts the program once to warm up, then once an iteration; the time to
// the painted window is the iteration's. With a status, the window must have
// painted with that status line.
void measureStarts(benchmark::State &state, const ReadyFolder &folder, const QString &status = {})
{
    startProgram(folder); // warm-up: the files in the system's cache
    double resident = 0;
    double exitMs = 0;
    for (auto _ : state) {
        const Start start = startProgram(folder);
        if (!start.painted) {
            state.SkipWithError("the program did not paint its main window");
            break;
        }
        if (!status.isEmpty() && start.status != status) {
            state.SkipWithError("the window painted with another status line");
            break;
        }
        state.SetIterationTime(start.seconds);
        resident = start.residentMiB;
        exitMs = std::max(exitMs, start.exitSeconds * 1000);
    }
    state.counters["rss_at_painted_MiB"] = resident;
    state.counters["exit_after_paint_max_ms"] = exitMs;
}

void BM_FreshStartToMainWindowPainted(benchmark::State &state)
{
    const ReadyFolder folder;
    measureStarts(state, folder);
}
BENCHMARK(BM_FreshStartToMainWindowPainted)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The same start with a server that never answers: the window must paint as
// soon as with a live one, while the server check still runs, not after its
// 10 s time-out; and the program must end at once all the same.
void BM_StartWithSilentServerToMainWindowPainted(benchmark::State &state)
{
    const ReadyFolder folder(true);
    if (folder.silent->port() == 0) {
        state.SkipWithError("no silent server");
        return;
    }
    measureStarts(state, folder, QStringLiteral("Verificando…"));
    state.counters["server_timeout_ms"] = 10000;
}
BENCHMARK(BM_StartWithSilentServerToMainWindowPainted)
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
