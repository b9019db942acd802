#pragma once

#include "quotations/price_entry.h"
#include "quotations/spreadsheet_exchange.h"

#include <QDialog>

#include <functional>

class ItemPanels;
class PriceDelegate;
class QLabel;
class QLineEdit;
class QPushButton;
class RowModel;
class QTableView;

// "Define Preços dos Itens da Contação": the items of the chosen quotation,
// priced in the grid.
class TPrecoCota final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrecoCota)

public:
    // Runs the chooser on CotasBaixadas and returns okfil.
    using ChooserRunner = std::function<bool(Query &cotasBaixadas)>;

    TPrecoCota(Prompts &prompts, TDm &dm, QWidget *parent = nullptr);
    ~TPrecoCota() override;

    // Shows the price history of the current item.
    using HistoryRunner = std::function<void(const PriceHistory &history)>;

    // Replaces the chooser window (tests answer without a dialog).
    void setChooserRunner(ChooserRunner runner) { m_runChooser = std::move(runner); }
    // Replaces the history window (tests look at what it would show).
    void setHistoryRunner(HistoryRunner runner) { m_runHistory = std::move(runner); }

    QLabel *lbl1() const { return m_lbl1; }
    QLabel *lblCota() const { return m_lblCota; }
    QLabel *lb1() const { return m_lb1; }
    QTableView *dbgrd1() const { return m_dbgrd1; }
    RowModel *model() const { return m_model; }
    ItemPanels *DBCtrlGrid1() const { return m_DBCtrlGrid1; }
    QPushButton *btn1() const { return m_btn1; }
    QPushButton *btn2() const { return m_btn2; }
    QPushButton *btn3() const { return m_btn3; }
    QPushButton *btn4() const { return m_btn4; }
    QPushButton *btn5() const { return m_btn5; }
    QPushButton *btn6() const { return m_btn6; }
    QPushButton *btn7() const { return m_btn7; }
    // "Tabela de preços" (imports the list) and "Preços da tabela" (fills
    // the items without a price from it).
    QPushButton *btnTabela() const { return m_btnTabela; }
    QPushButton *btnPrecosTabela() const { return m_btnPrecosTabela; }
    // "Histórico": the chart of the prices given for the current item (F5).
    QPushButton *btnHistorico() const { return m_btnHistorico; }
    PriceEntry &workflow() { return m_flow; }
    // The count of priced items, and the search box (Ctrl+F).
    QLabel *lblPrecos() const { return m_lblPrecos; }
    QLineEdit *edtBusca() const { return m_edtBusca; }

    void FormShow();
    void btn1Click();
    void btn2Click();
    void btn3Click();
    // "Imprime Cotação", "Exporta para o Excel", "Importa do Excel".
    void btn4Click();
    void btn5Click();
    void btn6Click();
    // "Últimos preços": items without a price take their last price.
    void btn7Click();
    void btnTabelaClick();
    void btnPrecosTabelaClick();
    void btnHistoricoClick();
    // F2 asks for the observation; F3 takes the item's last price, F4 its
    // list price; F5 shows its price history; Ctrl+Del
    // deletes the item after a question.
    bool dbgrd1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The search box: moves the grid to the first item, from the current one
    // (or, with next, from the one after it), that holds the text typed.
    void edtBuscaFind(bool next);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;
    // Escape cancels a cell's edit; it never closes the window.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Stores the cell being typed before a button acts on the items. False
    // (message shown) when the price is not a number.
    bool leaveEditor();
    void showChoice();
    void showPricedCount();

    Prompts &m_prompts;
    TDm &m_dm;
    PriceEntry m_flow;
    SpreadsheetExchange m_exchange;
    ChooserRunner m_runChooser;
    HistoryRunner m_runHistory;
    RowModel *m_model;
    QLabel *m_lbl1;
    QLabel *m_lblCota;
    QPushButton *m_btn3;
    QLabel *m_lb1;
    QTableView *m_dbgrd1;
    PriceDelegate *m_prices;
    ItemPanels *m_DBCtrlGrid1;
    QPushButton *m_btn2;
    QPushButton *m_btn4;
    QPushButton *m_btn5;
    QPushButton *m_btn6;
    QPushButton *m_btn7;
    QPushButton *m_btnTabela;
    QPushButton *m_btnPrecosTabela;
    QPushButton *m_btnHistorico;
    QPushButton *m_btn1;
    QLabel *m_lblPrecos;
    QLineEdit *m_edtBusca;
    bool m_shown = false;
};
