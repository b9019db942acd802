#pragma once

#include "store/row_set.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// A row of CotaLiberadas as the quotation windows show it.
struct ReleasedQuotationRow {
    qint64 rowid = -1;
    QString cotacao {};
    QString tipoStatus {};
    QDate dataValidade {}; // invalid when empty
    QTime ateHora {}; // invalid when empty
    QDate dataLiberada {}; // invalid when empty
};

using ReleasedQuotationSet = RowSet<ReleasedQuotationRow>;

// The released quotations by number (the index IndexName, then as added):
// all of them, or those whose TipoStatus is exactly the one given.
ReleasedQuotationSet::Reader releasedQuotationReader(std::optional<QString> tipoStatus = std::nullopt);
// The order of releasedQuotationReader: the number as the file orders it.
bool releasedQuotationBefore(const ReleasedQuotationRow &a, const ReleasedQuotationRow &b);

// Whether a row holds this quotation number in any letter case (full
// Unicode case folding).
bool sameCotacaoIgnoringCase(const ReleasedQuotationRow &row, const QString &cotacao);
// Makes the first row with that number in any letter case current; false
// (nothing moves) when there is none. The number is cut to what the column
// stores, so a longer one finds the row it was stored as.
bool locateCotacao(ReleasedQuotationSet &rows, const QString &cotacao);
