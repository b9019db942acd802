#pragma once

#include "store/released_quotation_rows.h"

#include <QDialog>

class PrazoRefresh;
class QPushButton;
class RowModel;
class QTableView;
class QTimer;

// "Cotações Baixadas": picks one of the quotations in status "Baixada" (the
// current row of CotasBaixadas), with the time left to answer each.
// Enter on the list picks the selected quotation as "Filtra e Sai" does;
// Escape and the close command (Alt+F4) give up as "Desiste" does.
class TCotaBaixada final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCotaBaixada)

public:
    explicit TCotaBaixada(ReleasedQuotationSet &cotasBaixadas, QWidget *parent = nullptr);

    // True only when the window was left with "Filtra e Sai".
    bool okfil() const { return m_okfil; }

    QTableView *dbgrd1() const { return m_dbgrd1; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }
    QTimer *tmrPrazo() const;

    void btn1Click();
    void btn2Click();
    // Every minute while shown: the column "Prazo" shows the time left now.
    void tmrPrazoTimer();

protected:
    void reject() override { btn2Click(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_okfil = false;
    RowModel *m_model;
    QTableView *m_dbgrd1;
    QPushButton *m_btn1;
    QPushButton *m_btn2;
    PrazoRefresh *m_prazo;
};
