#pragma once

#include "quotations/quotation_submission.h"

#include <QDialog>

#include <memory>

class HttpClient;
class PrazoRefresh;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;
class RowModel;

// "Contações Prontas para envia-las a Kelvo Autopeças": the quotations ready
// to send, with the time left to answer each, and the button that sends the
// selected one.
class TEnviaCotacao final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEnviaCotacao)

public:
    TEnviaCotacao(
        Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent = nullptr);
    ~TEnviaCotacao() override;

    // The credentials typed at the login, set before the window is shown.
    void setXLogin(const QString &login);
    void setXSenha(const QString &senha);

    QuotationSubmission &workflow() { return *m_workflow; }
    QLabel *lbl1() const { return m_lbl1; }
    QLabel *lbl2() const { return m_lbl2; }
    QTableView *dbgrd1() const { return m_dbgrd1; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }
    QTimer *tmr1() const { return m_tmr1; }
    QTimer *tmrPrazo() const;

    void FormShow();
    void ds1DataChange();
    void dbgrd1Enter();
    void tmr1Timer();
    // Every minute while shown: the column "Prazo" shows the time left now.
    void tmrPrazoTimer();
    void btn1Click();
    void btn2Click();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<HttpClient> m_IdHTTP1;
    std::unique_ptr<QuotationSubmission> m_workflow;
    Prompts &m_prompts;
    RowModel *m_model = nullptr;
    QLabel *m_lbl1;
    QLabel *m_lbl2;
    QTableView *m_dbgrd1 = nullptr;
    QPushButton *m_btn1 = nullptr;
    QPushButton *m_btn2 = nullptr;
    QTimer *m_tmr1;
    PrazoRefresh *m_prazo = nullptr;
    bool m_closed = false;
};
