#pragma once

#include "config/set_up_workflow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Stores a new user name and password; both fields start empty.
class TSetUP final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSetUP)

public:
    // folder is where the credential file lives (the executable's folder).
    TSetUP(Prompts &prompts, const QString &folder, Settings &settings, QWidget *parent = nullptr);

    QLineEdit *eduser() const { return m_eduser; }
    QLineEdit *edpass() const { return m_edpass; }
    QLabel *lb1() const { return m_lb1; }
    QLabel *lb2() const { return m_lb2; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }

    void btn1Click();
    void btn2Click();

private:
    SetUpWorkflow m_flow;
    QLabel *m_lb1;
    QLabel *m_lb2;
    QLineEdit *m_eduser;
    QLineEdit *m_edpass;
    QPushButton *m_btn1;
    QPushButton *m_btn2;
};
