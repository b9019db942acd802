#pragma once

#include "ui/prompts.h"

#include <QString>

class TDm;

// What the window "Cotações Respondidas e Enviadas" does: lists the
// quotations that have items (ConsCotaCab) and the items of the one selected
// (ConsCotaItens follows ConsCotaCab's current row), with that quotation's
// total. Nothing is changed here.
class SentQuotations final {
public:
    SentQuotations(Prompts &prompts, TDm &dm);
    Q_DISABLE_COPY_MOVE(SentQuotations)

    // Reopens both queries, so they show the store as it is now. False, with
    // the error shown, when the store cannot be read.
    bool openQueries();

    // Moves the selection to the first row of that quotation (any letter
    // case); the items follow. False when it is not listed.
    bool selectQuotation(const QString &cotacao);

    // The sum of Total over the items shown (an empty Total adds nothing);
    // the items' current row goes back to the first.
    double total();
    // The label under the items: "Valor total da cotação : " and the total.
    QString totalText();

private:
    Prompts &m_prompts;
    TDm &m_dm;
};
