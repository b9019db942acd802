#include "app/qt_translations.h"
#include "cli/cli.h"
#include "common/regional.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The tool prints only what the program would show; Qt's own notes about
// the platform it runs on stay out of the output.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    // The platform plugin's notes (on Windows, one about the screen's scaling
    // on systems that lack a newer mode).
    if (context.category && qstrncmp(context.category, "qt.qpa", 6) == 0)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// What differs between the systems where the tool runs. On Linux there may be
// no display, and the tool shows no window: the offscreen platform serves.
// Windows always has its own platform, and only with it does Qt find the
// system's fonts (its offscreen platform knows none: a printout would come
// out as boxes); its console shows the tool's UTF-8 right only when told.
void prepareSystem()
{
#ifdef Q_OS_WIN
    SetConsoleOutputCP(CP_UTF8);
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

} // namespace

int cliMain(int argc, char **argv, Connectivity *net)
{
    qInstallMessageHandler(quietHandler);
    prepareSystem();
    QGuiApplication app(argc, argv);
    applyRegionalDefaults();
    installQtTranslations();
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int status = runCli(args, QCoreApplication::applicationDirPath(), out, err, net);
    out.flush();
    err.flush();
    return status;
}
