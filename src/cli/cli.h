#pragma once

#include "cli/cli_prompts.h"
#include "config/login.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

class AppContext;
class Connectivity;

// Exit statuses of the command-line tool.
enum CliStatus { CliOk = 0, CliFailed = 1, CliUsage = 2 };

struct CliOptions {
    QString dir;
    std::optional<QString> login;
    std::optional<QString> password;
    bool yes = false;
    QString command;
    QStringList args;
    // Where the program's single-instance lock lives; empty: its own place.
    QString lockFolder;
};

// What a command gets: its options, the prompts that print, and the
// application context (settings and data module) opened on demand.
class CliContext final {
public:
    // net: the connectivity checks in place of the system's, or null.
    CliContext(const CliOptions &options, QTextStream &out, QTextStream &err, Connectivity *net = nullptr);
    ~CliContext();
    CliContext(const CliContext &) = delete;
    CliContext &operator=(const CliContext &) = delete;

    const CliOptions &options() const { return m_options; }
    CliPrompts &prompts() { return m_prompts; }
    QTextStream &out() { return m_out; }
    QTextStream &err() { return m_err; }

    // Starts as the program does: server.new, the store, the credentials.
    // Null when server.new or the store stopped the start (messages printed).
    AppContext *app(bool needStore = true);
    // The login and password of exchanges: --login/--password, else the stored ones.
    Login login();

    int usage(const QString &text);

private:
    CliOptions m_options;
    QTextStream &m_out;
    QTextStream &m_err;
    CliPrompts m_prompts;
    Connectivity *m_net;
    std::unique_ptr<AppContext> m_app;
    bool m_appTried = false;
};

struct CliCommand {
    QString name;
    QString synopsis; // "quotations items COTA" as shown in the usage
    QString help;
    int minArgs = 0;
    int maxArgs = 0;
    std::function<int(CliContext &)> run;
};

// A command that needs the program started as the program starts
// (server.new, the store, the credentials); it fails when the start did.
std::function<int(CliContext &)> withApp(std::function<int(CliContext &, AppContext &)> run);

// Commands are grouped by the layer that owns them; each group adds its own.
void addCoreCommands(QList<CliCommand> &commands);
void addQuotationCommands(QList<CliCommand> &commands);
void addSubmissionCommands(QList<CliCommand> &commands);
void addPurgeCommands(QList<CliCommand> &commands);
void addOrderCommands(QList<CliCommand> &commands);
void addBackupCommands(QList<CliCommand> &commands);
void addPriceListCommands(QList<CliCommand> &commands);

// Runs the tool: arguments without the program name. defaultDir is the
// folder used without --dir (the executable's folder). net, when given, takes
// the place of the system's connectivity checks, as it does for the program's
// start-up context: tests run the exchanges whatever network the machine has.
// lockFolder is where the program's single-instance lock is looked for
// (empty: its own place).
int runCli(const QStringList &arguments, const QString &defaultDir, QTextStream &out, QTextStream &err,
    Connectivity *net = nullptr, const QString &lockFolder = QString());

// The whole program: the application object the commands need (reports
// measure text, so a GUI application on the offscreen platform, never a
// window), the regional defaults, and the run on the real arguments. net as
// for runCli.
int cliMain(int argc, char **argv, Connectivity *net = nullptr);
