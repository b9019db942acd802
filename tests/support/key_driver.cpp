#include "support/key_driver.h"

#include <QApplication>
#include <QDateTime>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

} // namespace

QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? nameOf(focus->window()) + QLatin1Char('/') + nameOf(focus) : QStringLiteral("(no focus)");
}

KeyDriver &KeyDriver::add(QString what, std::function<Outcome(KeyDriver &)> run)
{
    m_steps.push_back({ std::move(what), std::move(run) });
    return *this;
}

bool KeyDriver::keyOnFocus(QKeyCombination key)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus) {
        fail(QStringLiteral("no widget has the focus"));
        return false;
    }
    m_pressed << QKeySequence(key).toString() + QStringLiteral(" on ") + focusName();
    QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    return true;
}

KeyDriver &KeyDriver::press(QKeyCombination key)
{
    return add(QKeySequence(key).toString(),
        [key](KeyDriver &d) { return d.keyOnFocus(key) ? Outcome::Done : Outcome::Failed; });
}

KeyDriver &KeyDriver::type(const QString &text)
{
    return add(QStringLiteral("type ") + text, [text](KeyDriver &d) {
        d.m_pressed << QStringLiteral("\"") + text + QStringLiteral("\" on ") + focusName();
        for (const QChar c : text) {
            // The first key may open a cell's editor, which takes the rest.
            QWidget *focus = QApplication::focusWidget();
            if (!focus) {
                d.fail(QStringLiteral("no widget has the focus"));
                return Outcome::Failed;
            }
            QTest::keyClick(focus, c.toLatin1());
        }
        return Outcome::Done;
    });
}

KeyDriver &KeyDriver::tabTo(const QString &name)
{
    return add(QStringLiteral("Tab to ") + name, [name](KeyDriver &d) {
        const QWidget *focus = QApplication::focusWidget();
        if (focus && focus->objectName() == name)
            return Outcome::Done;
        if (d.m_tries++ >= 10) {
            d.fail(name + QStringLiteral(" is not on the Tab road"));
            return Outcome::Failed;
        }
        return d.keyOnFocus(Qt::Key_Tab) ? Outcome::Again : Outcome::Failed;
    });
}

KeyDriver &KeyDriver::pressUntil(QKeyCombination key, std::function<bool()> done, int times)
{
    return add(
        QKeySequence(key).toString() + QStringLiteral(" until done"), [key, done, times](KeyDriver &d) {
            if (done())
                return Outcome::Done;
            if (d.m_tries++ >= times) {
                d.fail(QStringLiteral("still not there"));
                return Outcome::Failed;
            }
            return d.keyOnFocus(key) ? Outcome::Again : Outcome::Failed;
        });
}

KeyDriver &KeyDriver::waitForFocus(const QString &window, const QString &name)
{
    return add(QStringLiteral("focus on ") + window + QLatin1Char('/') + name, [window, name](KeyDriver &) {
        const QWidget *focus = QApplication::focusWidget();
        const bool there = focus && focus->objectName() == name && focus->window()->objectName() == window
            && focus->window()->isActiveWindow();
        return there ? Outcome::Done : Outcome::Again;
    });
}

KeyDriver &KeyDriver::check(std::function<QString()> problem)
{
    return add(QStringLiteral("check"), [problem](KeyDriver &d) {
        const QString text = problem();
        if (text.isEmpty())
            return Outcome::Done;
        d.fail(text);
        return Outcome::Failed;
    });
}

void KeyDriver::fail(const QString &why)
{
    if (m_finished)
        return;
    m_finished = true;
    const QString step = m_next > 0 && m_next <= m_steps.size() ? m_steps[m_next - 1].what : QString();
    m_failure = QStringLiteral("at \"%1\" with the focus on %2: %3").arg(step, focusName(), why);
    // Every loop of a modal window still open ends once this step returns.
    while (QWidget *modal = QApplication::activeModalWidget())
        modal->hide();
}

namespace {

// What a window manager does and the offscreen platform does not: when the
// active window goes, the modal window left (or else the window it belonged
// to) becomes active again.
void activateLeftWindow()
{
    const QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible())
        return;
    QWidget *next = QApplication::activeModalWidget();
    if (!next) {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Popup)
                next = w;
        }
    }
    if (next)
        QApplication::setActiveWindow(next);
}

} // namespace

void KeyDriver::tick()
{
    if (m_finished)
        return;
    if (m_next >= m_steps.size()) {
        m_finished = true;
        return;
    }
    if (QDateTime::currentMSecsSinceEpoch() > m_deadline) {
        ++m_next;
        fail(QStringLiteral("time ran out"));
        return;
    }
    // The next step is due before this one runs: a key that opens a modal
    // window returns only when that window closes, and the steps go on in
    // the window's own loop meanwhile.
    QTimer::singleShot(5, &m_context, [this] { tick(); });
    activateLeftWindow();
    const size_t index = m_next++;
    const Outcome outcome = m_steps[index].run(*this);
    if (outcome == Outcome::Again)
        m_next = index; // nothing ran meanwhile: a step that waits presses no key that blocks
    else
        m_tries = 0;
}

bool KeyDriver::run(int timeoutMs)
{
    m_deadline = QDateTime::currentMSecsSinceEpoch() + timeoutMs;
    QTimer::singleShot(0, &m_context, [this] { tick(); });
    const bool ended = QTest::qWaitFor(
        [this] { return m_finished && !QApplication::activeModalWidget(); }, timeoutMs + 10000);
    if (!ended && m_failure.isEmpty())
        m_failure = QStringLiteral("the road did not end; focus on ") + focusName();
    return ended && m_failure.isEmpty();
}
