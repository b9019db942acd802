#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

// Works the program's windows with the keyboard alone, as a supplier at the
// desk would: every key goes to the widget that has the focus, nothing is
// clicked and no handler is called. The steps run from timers, so a key
// that opens a modal window (and waits in that window's loop) does not stop
// the steps that follow: they go on inside the window it opened.
class KeyDriver final {
public:
    // A key (with its modifiers) on the focus widget.
    KeyDriver &press(QKeyCombination key);
    // Each character as a key on the focus widget.
    KeyDriver &type(const QString &text);
    // Tab until the focus widget of the active window is named name; at most
    // ten presses, or it fails: the control is not on the Tab road.
    KeyDriver &tabTo(const QString &name);
    // key until done() holds, at most times presses.
    KeyDriver &pressUntil(QKeyCombination key, std::function<bool()> done, int times = 50);
    // Waits until the active window's focus widget is named name in a window
    // whose object name is window (a window opened, or closed).
    KeyDriver &waitForFocus(const QString &window, const QString &name);
    // A check between keys; returning a text fails the road with it.
    KeyDriver &check(std::function<QString()> problem);

    // Runs the steps. False, with the step that failed in failure(), when one
    // did or time ran out; every modal window left open is then closed.
    bool run(int timeoutMs = 60000);
    const QString &failure() const { return m_failure; }
    // The keys pressed so far, for the failure's message.
    const QStringList &pressed() const { return m_pressed; }

private:
    enum class Outcome { Done, Again, Failed };
    struct Step {
        QString what;
        std::function<Outcome(KeyDriver &)> run;
    };
    KeyDriver &add(QString what, std::function<Outcome(KeyDriver &)> run);
    void tick();
    void fail(const QString &why);
    bool keyOnFocus(QKeyCombination key);

    QObject m_context; // the timers end with the driver
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_tries = 0;
    qint64 m_deadline = 0;
    bool m_finished = false;
    QString m_failure;
    QStringList m_pressed;
};

// "window/widget" for the widget that has the focus, for messages.
QString focusName();
