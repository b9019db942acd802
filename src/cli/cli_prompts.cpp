#include "cli/cli_prompts.h"

namespace {

class PrintedLog final : public LogWindow {
public:
    explicit PrintedLog(QTextStream &out)
        : m_out(out)
    {
    }
    void addLine(const QString &line) override { m_lines << line; }
    QStringList lines() const override { return m_lines; }
    void showModal() override
    {
        for (const QString &l : std::as_const(m_lines))
            m_out << "log: " << l << Qt::endl;
    }

private:
    QTextStream &m_out;
    QStringList m_lines;
};

// Line breaks inside a message would break the one-line-per-box rule.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

void CliPrompts::line(const QString &caption, const QString &text)
{
    m_out << '[' << caption << "] " << oneLine(text) << Qt::endl;
}

void CliPrompts::message(const QString &caption, const QString &text, PromptIcon)
{
    if (caption == QLatin1String("Erro") || caption == QLatin1String("Error"))
        ++m_errors;
    line(caption, text);
}

bool CliPrompts::ask(const QString &caption, const QString &text)
{
    line(caption, text);
    return m_yes;
}

void CliPrompts::error(const QString &text)
{
    ++m_errors;
    line(programTitle(), errorBoxText(text));
}

QString CliPrompts::input(const QString &caption, const QString &prompt, const QString &, int maxLength)
{
    line(caption, prompt);
    return fitted(caption, pendingInputs.isEmpty() ? QString() : pendingInputs.takeFirst(), maxLength);
}

QString CliPrompts::fitted(const QString &caption, const QString &text, int maxLength)
{
    if (maxLength <= 0 || text.size() <= maxLength)
        return text;
    line(caption,
        QStringLiteral("O texto tem %1 caracteres; só os %2 primeiros serão gravados.")
            .arg(text.size())
            .arg(maxLength));
    return text.left(maxLength);
}

QString CliPrompts::openFileName(const QString &caption, const QString &, const QString &)
{
    line(caption, QString());
    return pendingFiles.isEmpty() ? QString() : pendingFiles.takeFirst();
}

QString CliPrompts::saveFileName(const QString &caption, const QString &, const QString &)
{
    line(caption, QString());
    return pendingFiles.isEmpty() ? QString() : pendingFiles.takeFirst();
}

std::unique_ptr<LogWindow> CliPrompts::createLog()
{
    return std::make_unique<PrintedLog>(m_out);
}

void CliPrompts::previewReport(ReportPreparation &preparation)
{
    const PreparedReport &report = preparation.complete();
    if (reportOutput) {
        reportOutput(report);
        return;
    }
    line(report.title, QStringLiteral("%1 página(s)").arg(report.pages.size()));
}
