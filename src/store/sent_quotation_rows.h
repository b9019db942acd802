#pragma once

#include "store/row_set.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// A quotation with items in the store, as the window of the answered and
// sent quotations lists it. A row of a join: rowid is its position in the
// answer.
struct SentQuotationHead {
    qint64 rowid = -1;
    QString cotacao {};
    QDate data {}; // the items' date; invalid when empty
    QString tipoStatus {};
};

// One item of a listed quotation. Total is Qtde × Valor, empty when either is.
struct SentQuotationItem {
    qint64 rowid = -1; // the position in the answer
    QString marca {};
    QString prodfabr {};
    QString similares {};
    QString descricao {};
    QString un {};
    std::optional<double> qtde {};
    std::optional<double> valor {};
    std::optional<double> total {};
};

using SentQuotationHeads = RowSet<SentQuotationHead>;
using SentQuotationItems = RowSet<SentQuotationItem>;

// Every quotation with items once per date and status, the latest date first.
std::vector<SentQuotationHead> readSentQuotationHeads(Database &db);
// The items of one quotation (COTACAO exactly as given), by brand and description.
std::vector<SentQuotationItem> readSentQuotationItems(Database &db, const QString &cotacao);

// An item of a quotation as it is sent to the buyer.
struct SendingItemLine {
    QString contato {};
    QString cotacao {};
    QDate data {}; // invalid when empty
    QString produto {};
    std::optional<double> qtde {};
    std::optional<double> valor {}; // empty when the supplier gave no price
    QString condPgto {};
    QString similares {};
    QString obs {};
};

// The items of one quotation (COTACAO exactly as given) in the order the
// sending window shows them: by brand (the index Por_Marca), then as added.
std::vector<SendingItemLine> sendingItemLines(const Database &db, const QString &cotacao);
