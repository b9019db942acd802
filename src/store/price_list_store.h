#pragma once

#include "common/part_code.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class Database;
class Statement;

// The supplier's own price list: a table of the program's own beside the
// four of the buyer's exchange, holding the last list imported and where it
// came from. Each row keeps the keys the look-ups compare (common/part_code),
// so that a look-up is one indexed search.

struct PriceListEntry {
    int linha = 0; // the row of the file it came from
    QString marca;
    QString prodfabr;
    QString descricao;
    QString un;
    double valor = 0;
};

struct PriceListSource {
    QString arquivo; // the file's name, without its folder
    QDateTime importada;
    int itens = 0;
};

// CREATE statements of the list's tables and index, each only where it is
// missing: run by init-db and on opening a store made before them.
QStringList priceListStatements();

// Replaces the whole list in one transaction: on any failure the list
// stored before stays as it was.
void replacePriceList(Database &db, const PriceListSource &source, const QList<PriceListEntry> &entries);
// Empties the list. False when there was none.
bool clearPriceList(Database &db);
// The file of the list stored; nothing when there is none.
std::optional<PriceListSource> priceListSource(Database &db);
// Every entry in the order of its file.
void forEachPriceListEntry(Database &db, const std::function<void(const PriceListEntry &)> &visit);

struct PriceListMatch {
    PriceListEntry entry;
    CodeMatch match = CodeMatch::Exact;
};

// Finds a part in the list by brand and code, on one prepared statement for
// a whole operation: the entry whose code is the same but for letter case
// wins; otherwise the entries whose code differs only in blanks, dots,
// dashes and slashes, when they agree on price and unit (when they do not,
// the list does not say which is meant, and nothing is found).
class PriceListLookup final {
public:
    explicit PriceListLookup(Database &db);
    ~PriceListLookup();
    Q_DISABLE_COPY_MOVE(PriceListLookup)

    std::optional<PriceListMatch> find(const QString &marca, const QString &prodfabr);
    // The last find found nothing because the list holds the part written
    // other ways at different prices or units.
    bool conflicting() const { return m_conflicting; }

private:
    std::unique_ptr<Statement> m_byKey; // null when the store has no list
    bool m_conflicting = false;
};
