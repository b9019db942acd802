#pragma once

#include "orders/downloaded_orders.h"

#include <QDialog>

class RowModel;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

// "Pedidos Baixados": the downloaded or attended orders, the items and
// totals of the selected one, its printouts and its attendance.
class TPedidosBaixados final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPedidosBaixados)

public:
    TPedidosBaixados(Prompts &prompts, TDm &dm, QWidget *parent = nullptr);
    ~TPedidosBaixados() override;

    QTableView *dbgrd1() const { return m_dbgrd1; }
    QTableView *dbgrd2() const { return m_dbgrd2; }
    QLabel *lbmsg() const { return m_lbmsg; }
    QGroupBox *rg1() const { return m_rg1; }
    QRadioButton *rg1Item(int item) const;
    int rg1ItemIndex() const;
    QLineEdit *dbedtCONTATO() const { return m_dbedtCONTATO; }
    QLineEdit *dbedtAPLICACAO() const { return m_dbedtAPLICACAO; }
    QLineEdit *dbedtOBS() const { return m_dbedtOBS; }
    QLineEdit *dbedtCONDPGTO() const { return m_dbedtCONDPGTO; }
    QPushButton *btnimp() const { return m_btnimp; }
    QPushButton *btnlojas() const { return m_btnlojas; }
    QPushButton *btnsai() const { return m_btnsai; }
    QLabel *lbTotPed() const { return m_lbTotPed; }
    QLabel *lbl1() const { return m_lbl[0]; }
    QLabel *lbl2() const { return m_lbl[1]; }
    QLabel *lbl3() const { return m_lbl[2]; }
    DownloadedOrders &workflow() { return m_flow; }

    void FormShow();
    void rg1Click();
    void ds1DataChange();
    void dbgrd1Enter();
    void dbgrd1Exit();
    void dbgrd1KeyDown(int key);
    void btnimpClick();
    void btnlojasClick();
    void btnsaiClick();
    void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *readOnlyBox(const char *name, const QRect &place);
    void ds2DataChange();

    DownloadedOrders m_flow;
    TDm &m_dm;
    RowModel *m_orders;
    RowModel *m_items;
    QTableView *m_dbgrd1;
    QTableView *m_dbgrd2;
    QLabel *m_lbmsg;
    QGroupBox *m_rg1;
    QButtonGroup *m_rg1Items;
    QLineEdit *m_dbedtCONTATO;
    QLineEdit *m_dbedtAPLICACAO;
    QLineEdit *m_dbedtOBS;
    QLineEdit *m_dbedtCONDPGTO;
    QPushButton *m_btnimp;
    QPushButton *m_btnlojas;
    QPushButton *m_btnsai;
    QLabel *m_lbTotPed;
    std::array<QLabel *, 3> m_lbl {};
    bool m_closed = true; // until shown: nothing to follow or close
};
