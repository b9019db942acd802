#pragma once

#include "store/sqlcipher.h"

#include <QVariant>

#include <optional>

struct TableSchema;

// One column of the row stored at rowid in a table of the store, stored as
// the column keeps it; a required column left empty is refused (StoreError)
// and nothing is written. False when no row has that rowid.
bool setColumnAt(Database &db, const TableSchema &table, int column, qint64 rowid, const QVariant &value);

// The writes to one stored quotation item, by rowid, through statements
// prepared once per connection use. Values are stored as the columns keep
// them (Field::coerce: texts through the ANSI code page and cut to size, an
// empty text as NULL). Each returns false when no row has that rowid. The
// caller tells the open row sets (Database::announceRowsWritten or
// announceWritten).
class QuotationItemWrites final {
public:
    explicit QuotationItemWrites(Database &db);
    Q_DISABLE_COPY_MOVE(QuotationItemWrites)

    // VALOR of one item (a number, or NULL for none).
    bool setPrice(qint64 rowid, const QVariant &valor);
    // VALOR and SIMILARES of one item.
    bool setPriceAndSimilares(qint64 rowid, const QVariant &valor, const QVariant &similares);
    // OBS of one item.
    bool setObservation(qint64 rowid, const QVariant &obs);
    // Deletes one item.
    bool remove(qint64 rowid);

private:
    bool run(std::optional<Statement> &st, const QString &sql, qint64 rowid, const QVariantList &values);

    Database &m_db;
    std::optional<Statement> m_price;
    std::optional<Statement> m_priceAndSimilares;
    std::optional<Statement> m_observation;
    std::optional<Statement> m_remove;
};
