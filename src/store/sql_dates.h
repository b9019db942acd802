#pragma once

#include <QDate>
#include <QString>
#include <QTime>

struct sqlite3;

// A text read as a date: ISO 8601 date and time, else ISO date, else the
// regional short date format (QLocale()). Invalid QDate when none fits.
QDate parseDateText(const QString &text);
// A text read as a time: ISO ("HH:mm:ss", "HH:mm"), else the regional formats.
QTime parseTimeText(const QString &text);

// Dates and times live in the file as ISO text. So that a statement or a
// filter comparing a date column with a text ("DataLiberada <= '05/06/2020'",
// "DATA = ?") compares dates, the text operand is wrapped in a function that
// reads it as a date (or time) and fails the statement when it is none.
QString rewriteDateComparisons(const QString &sql);

// Registers the functions the rewritten statements call.
void registerDateFunctions(sqlite3 *db);
