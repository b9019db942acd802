#pragma once

#include "app/main_workflow.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;
class WindowLauncher;

// The main window: a row of image buttons that open the working windows, a
// message panel for the button under the pointer or with the focus, the
// supplier's name and the internet status line. Tab goes through the
// buttons left to right; Enter or Space presses the one with the focus.
class TFKelvoCota final : public QWidget {
    Q_OBJECT
public:
    TFKelvoCota(Prompts &prompts, MainWorkflow &workflow, const Settings &settings, WindowLauncher &launcher,
        QWidget *parent = nullptr);

    QToolButton *button(const QString &name) const { return m_buttons.value(name); }
    QLabel *pnlMsg() const { return m_pnlMsg; }
    QLabel *lbfornec() const { return m_lbfornec; }
    QLabel *lbServidor() const { return m_lbServidor; }
    QPushButton *btn9() const { return m_btn9; }

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

    Prompts &m_prompts;
    MainWorkflow &m_workflow;
    const Settings &m_settings;
    WindowLauncher &m_launcher;
    QHash<QString, QToolButton *> m_buttons;
    QHash<QObject *, QString> m_hints;
    QLabel *m_pnlMsg = nullptr;
    QLabel *m_lbfornec = nullptr;
    QLabel *m_lbServidor = nullptr;
    QPushButton *m_btn9 = nullptr;
    QLabel *m_lb1 = nullptr;
    bool m_shownOnce = false;
};
