#pragma once

#include "ui/prompts.h"

#include <QTextStream>

#include <functional>

// Prompts for the command-line tool: every box is printed as one line
// "[Caption] text", every line of a log window shown as "log: text". A
// question is answered Yes with --yes and No without it.
class CliPrompts final : public Prompts {
public:
    CliPrompts(QTextStream &out, bool answerYes)
        : m_out(out)
        , m_yes(answerYes)
    {
    }

    void message(const QString &caption, const QString &text, PromptIcon icon = PromptIcon::None) override;
    bool ask(const QString &caption, const QString &text) override;
    void error(const QString &text) override;
    // The pending text, cut to maxLength as the box would take it, with a
    // line saying so first.
    QString input(
        const QString &caption, const QString &prompt, const QString &initial, int maxLength) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    std::unique_ptr<LogWindow> createLog() override;
    // No window: one line naming the report and its pages, or, when
    // reportOutput is set, the report handed to it.
    void previewReport(ReportPreparation &report) override;

    // Set by a command that saves the prepared pages instead; what it throws
    // reaches the workflow as a failed preview.
    std::function<void(const PreparedReport &)> reportOutput;

    // Texts for the next input boxes and file dialogs, given by a command.
    QStringList pendingInputs;
    QStringList pendingFiles;
    // How many error boxes and refusals were printed: a command that showed
    // an error box did not complete.
    int errors() const { return m_errors; }

    // A text given for a column of maxLength characters (0: no limit): a
    // longer one is cut to it, and a line under caption says so before
    // anything is stored.
    QString fitted(const QString &caption, const QString &text, int maxLength);

private:
    void line(const QString &caption, const QString &text);
    QTextStream &m_out;
    bool m_yes;
    int m_errors = 0;
};
