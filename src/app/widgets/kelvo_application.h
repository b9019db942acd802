#pragma once

#include <QApplication>

#include <functional>

class Prompts;

// Runs deliver; an error it throws is shown in the general error box (through
// prompts when given) and the delivery counts as not handled.
bool deliverGuarded(const std::function<bool()> &deliver, Prompts *prompts);

// The program's application object. An error that no window handled ends
// the operation that raised it, not the program: it is shown in the general
// error box and the event loop goes on.
class KelvoApplication final : public QApplication {
    Q_OBJECT
public:
    KelvoApplication(int &argc, char **argv);

    // Where the errors are shown; without prompts, in a plain error box.
    void setPrompts(Prompts *prompts) { m_prompts = prompts; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompts *m_prompts = nullptr;
};
