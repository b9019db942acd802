#pragma once

#include "store/sqlcipher.h"

#include <QVariant>

#include <optional>

// The writes to one stored quotation item, by rowid, through statements
// prepared once per connection use. Values are stored as the columns keep
// them (Field::coerce: texts through the ANSI code page and cut to size, an
// empty text as NULL).
class QuotationItemWrites final {
public:
    explicit QuotationItemWrites(Database &db);
    Q_DISABLE_COPY_MOVE(QuotationItemWrites)

    // VALOR of one item (a number, or NULL for none).
    void setPrice(qint64 rowid, const QVariant &valor);
    // VALOR and SIMILARES of one item.
    void setPriceAndSimilares(qint64 rowid, const QVariant &valor, const QVariant &similares);

private:
    Database &m_db;
    std::optional<Statement> m_price;
    std::optional<Statement> m_priceAndSimilares;
};
