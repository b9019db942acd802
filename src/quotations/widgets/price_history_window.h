#pragma once

#include "quotations/price_entry.h"

#include <QDialog>

class PriceHistoryChart;
class QLabel;
class QPushButton;

// "Histórico de Preços": the chart of the prices given for the price
// entry's current item, with the chosen point's text under it.
class TPrecoHistorico final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrecoHistorico)

public:
    TPrecoHistorico(const PriceHistory &history, QWidget *parent = nullptr);

    QLabel *lblItem() const { return m_lblItem; }
    PriceHistoryChart *chart() const { return m_chart; }
    QLabel *lblPonto() const { return m_lblPonto; }
    QPushButton *btnFechar() const { return m_btnFechar; }

private:
    QLabel *m_lblItem;
    PriceHistoryChart *m_chart;
    QLabel *m_lblPonto;
    QPushButton *m_btnFechar;
};
