#include "app/qt_translations.h"
#include "cli/cli.h"
#include "common/regional.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// The tool prints only what the program would show; Qt's own notes about
// the platform it runs on stay out of the output.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int cliMain(int argc, char **argv, Connectivity *net)
{
    qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
