#pragma once

#include "ui/prompts.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The log window of one operation.
class TMsg final : public QDialog {
    Q_OBJECT
public:
    explicit TMsg(QWidget *parent = nullptr);

    QListWidget *lstmsg() const { return m_lstmsg; }
    QPushButton *btn1() const { return m_btn1; }

    // Closes only through "Fechar....": Escape does nothing.
    void reject() override;

private:
    QListWidget *m_lstmsg;
    QPushButton *m_btn1;
};

// Adapts TMsg to the LogWindow seam.
class TMsgLog final : public LogWindow {
public:
    // parent owns the window; it is shown centred over centreOver (the main
    // window), or over parent when none is given.
    explicit TMsgLog(QWidget *parent, QWidget *centreOver = nullptr);
    ~TMsgLog() override;
    void addLine(const QString &line) override;
    QStringList lines() const override;
    void showModal() override;
    TMsg *window() const { return m_window; }

private:
    TMsg *m_window;
    QWidget *m_centreOver;
};
