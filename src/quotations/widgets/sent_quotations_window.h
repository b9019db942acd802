#pragma once

#include "quotations/sent_quotations.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

// "Cotações Respondidas e Enviadas": the quotations with items on the left,
// the items of the selected one on the right, its total below.
class TCotasRespEnv final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCotasRespEnv)

public:
    TCotasRespEnv(Prompts &prompts, TDm &dm, QWidget *parent = nullptr);
    ~TCotasRespEnv() override;

    QTableView *dbgrd1() const { return m_dbgrd1; }
    QTableView *dbgrd2() const { return m_dbgrd2; }
    QLabel *lb1() const { return m_lb1; }
    QPushButton *btn1() const { return m_btn1; }
    SentQuotations &workflow() { return m_flow; }

    void FormShow();
    // The selection on the left moved: the items were read again for it.
    void ds1DataChange();
    void btn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    // Escape does not close the window; "Saída" and the close box do.
    void keyPressEvent(QKeyEvent *event) override;

private:
    TDm &m_dm;
    SentQuotations m_flow;
    QTableView *m_dbgrd1;
    QTableView *m_dbgrd2;
    QLabel *m_lb1;
    QPushButton *m_btn1;
    bool m_shown = false;
};
