#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

// A Prompts that records everything shown and answers from a script, or with
// its default answers once the script runs out: the one fake of the tests,
// benchmarks, fuzz targets and window pictures.
class ScriptedPrompts final : public Prompts {
public:
    struct Shown {
        QString kind; // "message", "ask", "error", "input", "open", "save", "log", "preview", "choose"
        QString caption;
        QString text; // for "open" and "save": the folder or name proposed
        PromptIcon icon = PromptIcon::None;
        QStringList logLines; // for "log": the lines of the log window shown
        int pages = 0; // for "preview": the report's pages (its title is the caption)
        int maxLength = 0; // for "input": the most characters the box takes
        QList<QStringList> table = {}; // for "choose": the column titles, then the rows
    };

    // Answers to the next questions, in order; defaultAnswer when the script
    // runs out.
    std::deque<bool> answers;
    bool defaultAnswer = false;
    // Texts for the next input boxes and file dialogs; empty (cancelled), or
    // for file dialogs defaultFile, when the script runs out.
    std::deque<QString> inputs;
    std::deque<QString> files;
    QString defaultFile;
    // Rows for the next choices; -1 (cancelled) when the script runs out.
    std::deque<int> choices;

    QList<Shown> shown;
    // Runs as each box, dialog or preview is shown, before it is answered.
    std::function<void(const Shown &)> onShown;
    QStringList filters; // of the file dialogs shown, in order
    int logsCreated = 0;
    int logsDiscarded = 0;
    int keepAlives = 0; // calls while a request waited

    void message(const QString &caption, const QString &text, PromptIcon icon = PromptIcon::None) override;
    bool ask(const QString &caption, const QString &text) override;
    void error(const QString &text) override;
    // The next scripted text, cut to maxLength as the box's line would take it.
    QString input(
        const QString &caption, const QString &prompt, const QString &initial, int maxLength) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    int choose(const QString &caption, const QString &text, const QStringList &columns,
        const QList<QStringList> &rows) override;
    std::unique_ptr<LogWindow> createLog() override;
    void previewReport(ReportPreparation &report) override;
    void keepAlive() override { ++keepAlives; }

    // "[Caption] text" for every message, question and error box, in order
    // (errors with the program's title as caption); logs as "log: line".
    QStringList transcript() const;
    // Only the boxes ("message", "ask", "error") as "[Caption] text".
    QStringList boxes() const;
    // The last box as "[Caption] text"; empty when none was shown.
    QString lastBox() const;
    void clear() { shown.clear(); }
    // Prompts that confirm every question: a workflow goes the whole way.
    static ScriptedPrompts yesToAll();
    // Keeps what was shown and tells onShown.
    void record(const Shown &s);
};
