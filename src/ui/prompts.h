#pragma once

#include "report/report_preparation.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <memory>
#include <optional>

// Every message box, question, input box, file dialog, log window, report
// preview and busy indicator of the program goes through this interface, so that workflows run
// the same behind the windows, the command-line tool and the tests.

enum class PromptIcon { None, Information, Warning, Error };

// A log window of one operation ("Mensagens"): lines are added as the
// operation goes, and it is shown modally at most once.
class LogWindow {
public:
    virtual ~LogWindow() = default;
    virtual void addLine(const QString &line) = 0;
    virtual QStringList lines() const = 0;
    // Shows the window modally; returns when the user closes it.
    virtual void showModal() = 0;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with an OK button.
    virtual void message(const QString &caption, const QString &text, PromptIcon icon = PromptIcon::None) = 0;

    // A question with the buttons Yes and No, a warning icon and No as the
    // default button. True when the answer is Yes.
    virtual bool ask(const QString &caption, const QString &text) = 0;

    // The general error box: the error's text (see errorBoxText), an error
    // icon, an OK button and the program's title as caption.
    virtual void error(const QString &text) = 0;

    // A one-line input box for a text stored in at most maxLength
    // characters (0: no limit); the box takes no more than that. Cancelling
    // returns an empty text.
    virtual QString input(
        const QString &caption, const QString &prompt, const QString &initial, int maxLength)
        = 0;

    // File dialogs; an empty text when the user cancels.
    virtual QString openFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;

    // A choice among the rows of a table under the column titles: the index
    // of the chosen row, or -1 when the user cancels. Prompts with nobody to
    // choose (the command-line tool, benchmarks) choose nothing.
    virtual int choose(const QString &caption, const QString &text, const QStringList &columns,
        const QList<QStringList> &rows);

    virtual std::unique_ptr<LogWindow> createLog() = 0;

    // The modal preview of a report, from which the user prints it or saves
    // it as "Documento PDF" or "Planilha Excel"; its pages may still be being
    // laid out. Returns when the preview closes.
    virtual void previewReport(ReportPreparation &report) = 0;

    // Called repeatedly while a blocking operation (a server request) waits:
    // the GUI repaints and shows a busy cursor but takes no user input.
    virtual void beginWait() { }
    virtual void keepAlive() { }
    virtual void endWait() { }
};

// The program's title, the caption of the general error box.
QString programTitle();

// The text of the general error box: "." is appended when the last character
// of the message is above "." in code.
QString errorBoxText(const QString &message);

// The text of an exception for the general error box.
QString errorText(const std::exception &e);

// Keeps a wait indication up for the lifetime of the scope.
class WaitScope final {
public:
    explicit WaitScope(Prompts &prompts)
        : m_prompts(prompts)
    {
        m_prompts.beginWait();
    }
    ~WaitScope() { m_prompts.endWait(); }
    WaitScope(const WaitScope &) = delete;
    WaitScope &operator=(const WaitScope &) = delete;

private:
    Prompts &m_prompts;
};
