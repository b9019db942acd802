#pragma once

#include <QString>

class Database;

// How many rows a table of the store holds (a table name of the schema).
qint64 countStoredRows(const Database &db, const QString &table);
