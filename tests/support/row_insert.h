#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

class Database;
class Statement;
struct TableSchema;

// Fixture rows and statements for tests, benchmarks, fuzz targets and
// window-shots, written past the program's workflows but seen by its grids.

// Adds one row to a table of the store as the program stores a value:
// converted to the column's type, texts cut to its size, a required column
// refused (StoreError) when empty; empty values stay NULL. Columns are named
// as the schema names them, in any case. The open row sets of the table
// follow. Returns the new rowid.
qint64 insertRow(Database &db, const TableSchema &table, const QList<std::pair<QString, QVariant>> &values);

// Runs a statement past the program (an UPDATE or DELETE of a fixture) and
// tells every open row set of those tables to read itself again.
void execAnnounced(Database &db, const QString &sql, const QVariantList &values, const QStringList &tables);
