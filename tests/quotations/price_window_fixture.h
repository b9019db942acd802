#pragma once

#include "quotations/widgets/price_entry_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

// Shows the price entry and chooses the quotation with "Cotações Baixadas",
// as the supplier would, the chooser answering at once.
inline void showWithQuotation(TPrecoCota &window, const QString &cotacao)
{
    window.setChooserRunner(
        [cotacao](ReleasedQuotationSet &baixadas) { return locateCotacao(baixadas, cotacao); });
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
}
