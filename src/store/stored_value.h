#pragma once

#include "store/field.h"

#include <QDate>
#include <QTime>

#include <optional>

class Statement;

// A column of the current result row in its in-memory form for the type:
// dates and times come back from their ISO text.
QVariant storedValue(const Statement &statement, int column, FieldType type);

// The order of the file's BINARY collation: empty first, then by value.
int compareValues(const QVariant &a, const QVariant &b, FieldType type);

// The same for typed rows: an empty (NULL) column gives an empty text, no
// number, an invalid date or time.
QString storedText(const Statement &statement, int column);
std::optional<double> storedNumber(const Statement &statement, int column);
QDate storedDate(const Statement &statement, int column);
QTime storedTime(const Statement &statement, int column);

// "?, ?, ..." for a list of n bound values (a rowid IN list).
QString boundMarks(qsizetype n);
