#pragma once

#include "store/row_set.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Database;

// One stored quotation item (CotacaoFornc) with the columns the price entry,
// its panels, the fills, the spreadsheet exchange, the sending and the
// command line use. An empty text reads as a null string, an empty number
// as no value: an unpriced item has no VALOR, which is not a price of 0.
struct QuotationItemRow {
    qint64 rowid = -1;
    QString contato;
    QString cotacao;
    QDate data;
    QString produto;
    QString prodfabr;
    QString descricao;
    QString un;
    QString aplicacao;
    QString marca;
    std::optional<double> qtde;
    std::optional<double> valor;
    QString condPgto;
    QString similares;
    QString obs;
    std::optional<double> qtdeLoja1;
    std::optional<double> qtdeLoja2;
    std::optional<double> qtdeLoja3;
    QString nomeLoja1;
    QString nomeLoja2;
    QString nomeLoja3;

    // Priced as the price entry counts it: a VALOR other than zero.
    bool priced() const { return valor.value_or(0) != 0; }
};

using QuotationItemSet = RowSet<QuotationItemRow>;

// The items of one quotation (COTACAO exactly as given), or every item when
// cotacao is empty, in brand order (MARCA as the file's BINARY collation
// orders it, an empty brand first; then as added). With ids, only those rows
// among them.
std::vector<QuotationItemRow> readQuotationItems(
    Database &db, const std::optional<QString> &cotacao, const QList<qint64> *ids = nullptr);

// The brand order of readQuotationItems, for a row read again.
bool quotationItemBefore(const QuotationItemRow &a, const QuotationItemRow &b);
