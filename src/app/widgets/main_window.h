#pragma once

#include "app/day_summary.h"
#include "app/main_workflow.h"

#include <QHash>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class WindowLauncher;

// The main window: a row of image buttons that open the working windows, a
// message panel for the button under the pointer or with the focus, the
// supplier's name and the internet status line. Tab goes through the
// buttons left to right; Enter or Space presses the one with the focus.
//
// Below them, once a day counter is set, the day at a glance: three counts,
// each a button that opens the window that handles it through the button of
// the row that opens that window (login included). They come after the
// specified controls in the Tab order.
class TFKelvoCota final : public QWidget {
    Q_OBJECT
public:
    // Reads the counts; nothing when the store cannot be read.
    using DayCounter = std::function<std::optional<DayCounts>()>;

    TFKelvoCota(Prompts &prompts, MainWorkflow &workflow, const Settings &settings, WindowLauncher &launcher,
        QWidget *parent = nullptr);

    QToolButton *button(const QString &name) const { return m_buttons.value(name); }
    QLabel *pnlMsg() const { return m_pnlMsg; }
    QLabel *lbfornec() const { return m_lbfornec; }
    QLabel *lbServidor() const { return m_lbServidor; }
    QPushButton *btn9() const { return m_btn9; }
    QPushButton *dayButton(DayCount which) const { return m_dayButtons[int(which)]; }

    // Shows the day at a glance under the row, read now, again whenever
    // a working window closes, and every minute while the program sits open,
    // so that "within 24 hours" follows the clock.
    void setDayCounter(DayCounter counter);
    void refreshDay();
    QTimer *dayTimer() const { return m_dayTimer; }

    void FormShow();
    void btn9Click();
    // Opens a working window, asking for the login first for the server windows.
    void openWindow(const QString &windowClass, bool needsLogin);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *addImageButton(const QString &name, int left, const QString &hint, int icon);
    void showFornecedor(const QString &text);
    void buildDayPanel();
    void openDayCount(DayCount which);

    Prompts &m_prompts;
    MainWorkflow &m_workflow;
    const Settings &m_settings;
    WindowLauncher &m_launcher;
    QHash<QString, QToolButton *> m_buttons;
    QHash<QObject *, QString> m_hints;
    QHash<QString, QToolButton *> m_windowButtons; // by the class of the window each opens
    std::array<QPushButton *, 3> m_dayButtons {};
    DayCounter m_dayCounter;
    DayCounts m_dayCounts;
    QTimer *m_dayTimer = nullptr;
    QLabel *m_pnlMsg = nullptr;
    QLabel *m_lbfornec = nullptr;
    QLabel *m_lbServidor = nullptr;
    QPushButton *m_btn9 = nullptr;
    QLabel *m_lb1 = nullptr;
    bool m_shownOnce = false;
};
