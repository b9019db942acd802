#pragma once

#include "common/part_code.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class Database;
class Statement;

// The price a supplier last gave for a part: the newest item (by DATA) of
// another quotation with the same MARCA and PRODFABR, compared ignoring case,
// whose VALOR is other than zero; when there is none, the newest whose
// PRODFABR differs only in blanks, dots, dashes and slashes.
struct LastPrice {
    double valor = 0;
    QString cotacao;
    QDate data;
    CodeMatch match = CodeMatch::Exact;
};

// Finds last prices on the store's connection. Meant for one operation: it
// remembers what it found, so a part asked for twice costs one look-up.
class LastPrices final {
public:
    explicit LastPrices(Database &db);
    ~LastPrices();
    Q_DISABLE_COPY_MOVE(LastPrices)

    // For an item of the quotation cotacao; nothing for an item without a
    // PRODFABR, which names no part.
    std::optional<LastPrice> find(const QString &cotacao, const QString &marca, const QString &prodfabr);

    // Every price given for the part, in any quotation, as the look-up
    // matches it: one per quotation (its item with the code as written, else
    // one written another way), oldest first.
    QList<LastPrice> history(const QString &marca, const QString &prodfabr);

private:
    struct Candidate {
        QString marca; // case-folded
        QString code; // its exact key
        QString cotacao;
        QVariant valor;
        QDate data;
    };
    std::optional<LastPrice> search(const QString &cotacao, const QString &marca, const QString &prodfabr);
    void loadUnusualParts();
    // The stored items whose code has that loose key, newest first, until
    // visit returns true.
    void forEachCandidate(const QString &loose, const std::function<bool(const Candidate &)> &visit);

    Database &m_db;
    std::unique_ptr<Statement> m_byPart;
    QHash<QString, std::optional<LastPrice>> m_found;
    // Parts with letters beyond ASCII, which the index's case rule does not
    // fold: read once, by loose key, newest first.
    QHash<QString, QList<Candidate>> m_unusual;
    bool m_unusualLoaded = false;
};

struct ItemLastPrice {
    QString produto;
    QString marca;
    QString prodfabr;
    LastPrice price;
};

struct QuotationLastPrices {
    int items = 0; // every item of the quotation
    QList<ItemLastPrice> found; // those that have a last price, in brand order
};

QuotationLastPrices lastPricesOf(Database &db, const QString &cotacao);
