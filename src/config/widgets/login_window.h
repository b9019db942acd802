#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The login asked before every exchange with the server. The caller fills
// edt1 and edt2, shows it modally and then reads lok, edt1 and edt2.
class TFLogin final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFLogin)

public:
    explicit TFLogin(QWidget *parent = nullptr);

    bool lok() const { return m_lok; }
    QLineEdit *edt1() const { return m_edt1; }
    QLineEdit *edt2() const { return m_edt2; }
    QLabel *lbl1() const { return m_lbl1; }
    QLabel *lbl2() const { return m_lbl2; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }

    void btn1Click();
    void btn2Click();

    // Closes only through its two buttons: Escape and the window manager's
    // close requests are ignored.
    void reject() override;

private:
    bool m_lok = false;
    QLabel *m_lbl1;
    QLabel *m_lbl2;
    QLineEdit *m_edt1;
    QLineEdit *m_edt2;
    QPushButton *m_btn1;
    QPushButton *m_btn2;
};
