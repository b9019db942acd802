#include "cli/cli.h"

#include "app/app_context.h"
#include "store/data_module.h"

#include <QDir>

CliContext::CliContext(const CliOptions &options, QTextStream &out, QTextStream &err, Connectivity *net)
    : m_options(options)
    , m_out(out)
    , m_err(err)
    , m_prompts(out, options.yes)
    , m_net(net)
{
}

CliContext::~CliContext() = default;

AppContext *CliContext::app(bool needStore)
{
    if (!m_appTried) {
        m_appTried = true;
        auto app = std::make_unique<AppContext>(m_options.dir, m_net);
        if (app->start(m_prompts))
            m_app = std::move(app);
    }
    if (m_app && needStore && !m_app->storeOpen())
        return nullptr;
    return m_app.get();
}

Login CliContext::login()
{
    AppContext *a = m_options.login && m_options.password ? nullptr : app(false);
    return { m_options.login.value_or(a ? a->settings().usuario : QString()),
        m_options.password.value_or(a ? a->settings().senha : QString()) };
}

std::function<int(CliContext &)> withApp(std::function<int(CliContext &, AppContext &)> run)
{
    return [run = std::move(run)](CliContext &c) {
        AppContext *app = c.app();
        return app ? run(c, *app) : int(CliFailed);
    };
}

int CliContext::usage(const QString &text)
{
    m_err << "cotakelvo-cli: " << text << Qt::endl << "Veja 'cotakelvo-cli --help'." << Qt::endl;
    return CliUsage;
}

namespace {

QList<CliCommand> allCommands()
{
    QList<CliCommand> commands;
    addCoreCommands(commands);
    addQuotationCommands(commands);
    addPriceListCommands(commands);
    addSubmissionCommands(commands);
    addPurgeCommands(commands);
    addBackupCommands(commands);
    addOrderCommands(commands);
    return commands;
}

void printHelp(QTextStream &out, const QList<CliCommand> &commands)
{
    out << "uso: cotakelvo-cli [--dir PASTA] [--login L --password S] [--yes] COMANDO [ARGUMENTOS...]\n"
           "  --dir PASTA  a pasta de server.new, userkelvo.new e CotaKelvo.new\n"
           "               (padrão: a pasta do executável)\n"
           "  --login, --password   usuário e senha das trocas com o servidor (padrão: os gravados)\n"
           "  --yes        responde Sim a toda pergunta; sem ele, toda pergunta é respondida Não\n"
           "comandos:\n";
    for (const CliCommand &c : commands)
        out << "  " << c.synopsis.leftJustified(40) << ' ' << c.help << '\n';
    out.flush();
}

// What names the command among the words of an unknown one: the words after
// it may be a password ("set-usr USER PASSWORD", "--password P"), which is
// never printed.
QString commandWords(const QList<CliCommand> &commands, const QStringList &words)
{
    const QString first = words.constFirst();
    for (const CliCommand &c : commands) {
        if (words.size() > 1 && c.name.startsWith(first + QLatin1Char(' ')) && !words.at(1).startsWith(u'-'))
            return first + QLatin1Char(' ') + words.at(1);
    }
    return first;
}

} // namespace

int runCli(const QStringList &arguments, const QString &defaultDir, QTextStream &out, QTextStream &err,
    Connectivity *net, const QString &lockFolder)
{
    CliOptions options;
    options.dir = defaultDir;
    options.lockFolder = lockFolder;
    const QList<CliCommand> commands = allCommands();
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (!rest.isEmpty()) {
            rest << a;
            continue;
        }
        auto value = [&](std::optional<QString> &target) {
            if (i + 1 >= arguments.size())
                return false;
            target = arguments.at(++i);
            return true;
        };
        std::optional<QString> v;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            printHelp(out, commands);
            return CliOk;
        } else if (a == QLatin1String("--yes")) {
            options.yes = true;
        } else if (a == QLatin1String("--dir")) {
            if (!value(v))
                return CliContext(options, out, err).usage(QStringLiteral("--dir precisa de uma pasta"));
            options.dir = *v;
        } else if (a == QLatin1String("--login")) {
            if (!value(options.login))
                return CliContext(options, out, err).usage(QStringLiteral("--login precisa de um valor"));
        } else if (a == QLatin1String("--password")) {
            if (!value(options.password))
                return CliContext(options, out, err).usage(QStringLiteral("--password precisa de um valor"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return CliContext(options, out, err).usage(QStringLiteral("opção desconhecida %1").arg(a));
        } else {
            rest << a;
        }
    }
    options.dir = QDir(options.dir).absolutePath();
    CliContext context(options, out, err);
    if (rest.isEmpty())
        return context.usage(QStringLiteral("nenhum comando foi dado"));

    // The longest command name that the words begin with ("quotations fetch").
    const CliCommand *found = nullptr;
    qsizetype words = 0;
    for (const CliCommand &c : commands) {
        const QStringList name = c.name.split(QLatin1Char(' '));
        if (name.size() <= rest.size() && rest.mid(0, name.size()) == name && name.size() > words) {
            found = &c;
            words = name.size();
        }
    }
    if (!found)
        return context.usage(QStringLiteral("comando desconhecido '%1'").arg(commandWords(commands, rest)));
    options.command = found->name;
    options.args = rest.mid(words);
    if (options.args.size() < found->minArgs || options.args.size() > found->maxArgs)
        return context.usage(QStringLiteral("uso: cotakelvo-cli %1").arg(found->synopsis));
    CliContext run(options, out, err, net);
    return found->run(run);
}
