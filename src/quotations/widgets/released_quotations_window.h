#pragma once

#include "exchange/http_client.h"
#include "quotations/released_quotations.h"

#include <QDialog>

class RowModel;
class PrazoRefresh;
class QPushButton;
class QTableView;
class QTimer;

// "Cotações Liberadas": the released quotations and the two downloads; the
// column "Prazo" after the others shows the time left to answer each.
class TFCotaLib final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFCotaLib)

public:
    TFCotaLib(
        Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent = nullptr);
    ~TFCotaLib() override;

    // The credentials typed in the login window.
    void setXLogin(const QString &login);
    void setXSenha(const QString &senha);
    const QString &xLogin() const { return m_flow.login().login; }
    const QString &xSenha() const { return m_flow.login().senha; }

    QTableView *dbgrd1() const { return m_dbgrd1; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }
    QPushButton *btn3() const { return m_btn3; }
    QTimer *tmrPrazo() const;
    HttpClient &IdHTTP1() { return m_IdHTTP1; }
    ReleasedQuotations &workflow() { return m_flow; }

    void FormShow();
    void btn1Click();
    void btn2Click();
    void btn3Click();
    // Every minute while shown: the column "Prazo" shows the time left now.
    void tmrPrazoTimer();

protected:
    void showEvent(QShowEvent *event) override;
    // Only "Saída" closes the window.
    void reject() override { }

private:
    HttpClient m_IdHTTP1;
    ReleasedQuotations m_flow;
    RowModel *m_model;
    QTableView *m_dbgrd1;
    QPushButton *m_btn1;
    QPushButton *m_btn2;
    QPushButton *m_btn3;
    PrazoRefresh *m_prazo;
    bool m_shown = false;
};
