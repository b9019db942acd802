#include "support/scripted_prompts.h"

namespace {

class RecordingLog final : public LogWindow {
public:
    explicit RecordingLog(ScriptedPrompts &owner)
        : m_owner(owner)
    {
        ++m_owner.logsCreated;
    }
    ~RecordingLog() override { ++m_owner.logsDiscarded; }
    void addLine(const QString &line) override { m_lines << line; }
    QStringList lines() const override { return m_lines; }
    void showModal() override
    {
        ScriptedPrompts::Shown s;
        s.kind = QStringLiteral("log");
        s.caption = QStringLiteral("Mensagens");
        s.logLines = m_lines;
        m_owner.record(s);
    }

private:
    ScriptedPrompts &m_owner;
    QStringList m_lines;
};

QString take(std::deque<QString> &queue)
{
    if (queue.empty())
        return {};
    QString v = queue.front();
    queue.pop_front();
    return v;
}

} // namespace

void ScriptedPrompts::message(const QString &caption, const QString &text, PromptIcon icon)
{
    record({ QStringLiteral("message"), caption, text, icon, {} });
}

bool ScriptedPrompts::ask(const QString &caption, const QString &text)
{
    record({ QStringLiteral("ask"), caption, text, PromptIcon::Warning, {} });
    if (answers.empty())
        return defaultAnswer;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedPrompts::error(const QString &text)
{
    record({ QStringLiteral("error"), programTitle(), errorBoxText(text), PromptIcon::Error, {} });
}

QString ScriptedPrompts::input(const QString &caption, const QString &prompt, const QString &, int maxLength)
{
    Shown s { QStringLiteral("input"), caption, prompt, PromptIcon::None, {} };
    s.maxLength = maxLength;
    record(s);
    const QString typed = take(inputs);
    return maxLength > 0 ? typed.left(maxLength) : typed;
}

QString ScriptedPrompts::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    record({ QStringLiteral("open"), caption, dir, PromptIcon::None, {} });
    filters << filter;
    return files.empty() ? defaultFile : take(files);
}

QString ScriptedPrompts::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    record({ QStringLiteral("save"), caption, dir, PromptIcon::None, {} });
    filters << filter;
    return files.empty() ? defaultFile : take(files);
}

void ScriptedPrompts::previewReport(ReportPreparation &preparation)
{
    const PreparedReport &report = preparation.complete();
    Shown s;
    s.kind = QStringLiteral("preview");
    s.caption = report.title;
    s.pages = int(report.pages.size());
    s.text = QStringLiteral("%1 página(s)").arg(s.pages);
    record(s);
}

void ScriptedPrompts::record(const Shown &s)
{
    shown << s;
    if (onShown)
        onShown(s);
}

int ScriptedPrompts::choose(
    const QString &caption, const QString &text, const QStringList &columns, const QList<QStringList> &rows)
{
    Shown s;
    s.kind = QStringLiteral("choose");
    s.caption = caption;
    s.text = text;
    s.table << columns << rows;
    shown << s;
    if (choices.empty())
        return -1;
    const int row = choices.front();
    choices.pop_front();
    return row;
}

std::unique_ptr<LogWindow> ScriptedPrompts::createLog()
{
    return std::make_unique<RecordingLog>(*this);
}

QStringList ScriptedPrompts::transcript() const
{
    QStringList out;
    for (const Shown &s : shown) {
        if (s.kind == QLatin1String("log")) {
            for (const QString &l : s.logLines)
                out << QStringLiteral("log: ") + l;
        } else {
            out << QStringLiteral("[%1] %2").arg(s.caption, s.text);
        }
    }
    return out;
}

QStringList ScriptedPrompts::boxes() const
{
    QStringList out;
    for (const Shown &s : shown)
        if (s.kind == QLatin1String("message") || s.kind == QLatin1String("ask")
            || s.kind == QLatin1String("error"))
            out << QStringLiteral("[%1] %2").arg(s.caption, s.text);
    return out;
}

QString ScriptedPrompts::lastBox() const
{
    for (auto it = shown.crbegin(); it != shown.crend(); ++it)
        if (it->kind == QLatin1String("message") || it->kind == QLatin1String("ask")
            || it->kind == QLatin1String("error"))
            return QStringLiteral("[%1] %2").arg(it->caption, it->text);
    return {};
}

ScriptedPrompts ScriptedPrompts::yesToAll()
{
    ScriptedPrompts prompts;
    prompts.defaultAnswer = true;
    return prompts;
}
