#pragma once

#include "purge/data_purge.h"
#include "purge/store_restore.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

// "Apaga dados antigos": the four kinds of stored data side by side, purged
// by day, one kind or all four; and the copies made before each purge, one
// of which "Restaurar cópia…" puts back in place of the store at storePath.
class TApagaDados final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TApagaDados)

public:
    TApagaDados(Prompts &prompts, TDm &dm, const QString &storePath, QWidget *parent = nullptr);
    ~TApagaDados() override;

    QTableView *DBGrid1() const { return m_DBGrid1; }
    QTableView *DBGrid2() const { return m_DBGrid2; }
    QTableView *DBGrid3() const { return m_DBGrid3; }
    QTableView *DBGrid4() const { return m_DBGrid4; }
    QPushButton *Button1() const { return m_Button1; }
    QPushButton *Button2() const { return m_Button2; }
    QPushButton *Button3() const { return m_Button3; }
    QPushButton *Button4() const { return m_Button4; }
    QPushButton *Button5() const { return m_Button5; }
    QPushButton *btnRestaura() const { return m_btnRestaura; }
    QToolButton *SpeedButton1() const { return m_SpeedButton1; }
    QDateEdit *data() const { return m_data; }
    DataPurge &workflow() { return m_flow; }
    StoreRestore &restoreWorkflow() { return m_restore; }

    void FormShow();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void SpeedButton1Click();
    void btnRestauraClick();

protected:
    void showEvent(QShowEvent *event) override;
    // Escape does not close the window; "Fecha Janela" and the close box do.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QDate cutOff() const;

    TDm &m_dm;
    DataPurge m_flow;
    StoreRestore m_restore;
    QTableView *m_DBGrid1;
    QTableView *m_DBGrid2;
    QTableView *m_DBGrid3;
    QTableView *m_DBGrid4;
    QPushButton *m_Button1;
    QPushButton *m_Button2;
    QPushButton *m_Button3;
    QPushButton *m_Button4;
    QPushButton *m_Button5;
    QPushButton *m_btnRestaura;
    QToolButton *m_SpeedButton1;
    QDateEdit *m_data;
    bool m_shown = false;
};
