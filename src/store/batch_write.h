#pragma once

#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class Database;
class Transaction;
struct TableSchema;

// Writes of a download that belong together: one transaction for the whole
// batch, so that ten thousand lines pay one disk sync, and where a line
// cannot be stored, the rows stored before it stay stored.

// Commits a batch that is ending on a failure. A failure of the commit itself
// is dropped: the one already under way is the one the user sees.
void keepWhatWasStored(std::optional<Transaction> &tx);

// Runs writes in one transaction. When a write throws, the rows stored
// before it are committed and the error goes on to the caller.
void writeInOneTransaction(Database &db, const std::function<void()> &writes);

// Where the positions of a downloaded item line go: the column of each
// position (empty for a position that is not stored). The first keyPositions
// positions are the row's key; a row already stored is written from
// firstUpdated on, so its key and the columns no position names keep their
// values.
struct ItemLineLayout {
    QStringList columns;
    int keyPositions = 0;
    int firstUpdated = 0;
};

// Turns an item line into the values of its positions, or nothing for a line
// that holds no record; throws at a line that cannot be read.
using ItemLineReader = std::function<std::optional<QVariantList>(const QString &line)>;

// Stores the item lines of one download in table, in one transaction: each
// line's row is looked up by its key (texts ignoring case by full Unicode
// case folding, the lowest rowid first where several match) and updated, or
// inserted when there is none; canAppend (when given) may refuse an insert,
// which skips the line. Every value is stored as a column of its type keeps
// it (texts through the ANSI code page, cut to the column's size). At a line
// that cannot be read or stored the rows before it stay stored and the error
// goes on to the caller. When every line is stored, finish (when given) runs
// in the same transaction: what completes the download (a status) is stored
// together with its items, or, if the program stops, neither is. Open
// row sets on table re-read it once, at the end.
void storeItemLines(Database &db, const TableSchema &table, const ItemLineLayout &layout,
    const QStringList &lines, const ItemLineReader &read, const std::function<void()> &finish = {},
    const std::function<bool()> &canAppend = {});
