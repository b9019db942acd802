#pragma once

#include "exchange/http_client.h"
#include "orders/released_orders.h"

#include <QDialog>

class RowModel;
class QPushButton;
class QTableView;

// "Pedidos Liberados": the released orders and the two downloads.
class TPedLib final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPedLib)

public:
    TPedLib(Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent = nullptr);
    ~TPedLib() override;

    // The credentials typed in the login window.
    void setXLogin(const QString &login);
    void setXSenha(const QString &senha);
    const QString &xLogin() const { return m_flow.login().login; }
    const QString &xSenha() const { return m_flow.login().senha; }

    QTableView *dbgrd1() const { return m_dbgrd1; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }
    QPushButton *btn3() const { return m_btn3; }
    HttpClient &IdHTTP1() { return m_IdHTTP1; }
    ReleasedOrders &workflow() { return m_flow; }

    void FormShow();
    void btn1Click();
    void btn2Click();
    void btn3Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    HttpClient m_IdHTTP1;
    ReleasedOrders m_flow;
    RowModel *m_model;
    QTableView *m_dbgrd1;
    QPushButton *m_btn1;
    QPushButton *m_btn2;
    QPushButton *m_btn3;
    bool m_shown = false;
};
