#pragma once

#include <QDate>

class Database;

// The four kinds of dated rows a purge deletes.
enum class DatedRows { ReleasedQuotations, ReleasedOrders, QuotationItems, OrderItems };

// Deletes the rows of one kind dated on or before the day and tells the open
// sets of that table. Only an ISO date (a time of day after it is dropped)
// compares: a row with no date, or with a text that is no date, stays.
// Returns the rows deleted.
int deleteDatedRows(Database &db, DatedRows kind, const QDate &day);
