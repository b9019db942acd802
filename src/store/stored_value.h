#pragma once

#include "store/field.h"

class Statement;

// A column of the current result row in its in-memory form for the type:
// dates and times come back from their ISO text.
QVariant storedValue(const Statement &statement, int column, FieldType type);

// The order of the file's BINARY collation: empty first, then by value.
int compareValues(const QVariant &a, const QVariant &b, FieldType type);
