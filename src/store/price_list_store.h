#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Database;

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
