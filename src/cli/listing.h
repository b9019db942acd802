#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class CliContext;
struct Field;

// The listings of the command-line tool: one record a line, fields joined by
// "|", independent of the regional settings.

// A text as a listing writes it: a backslash as "\\", a carriage return as
// "\r", a line feed as "\n" and a "|" as "\|", so that one record stays one
// line and each value one field.
QString listingText(const QString &text);

// The value of a column in a listing: yyyy-MM-dd, HH:mm, numbers with "." in
// their shortest form, texts escaped; an empty value as nothing.
QString listed(const Field &field, const QVariant &value);

// One record: the fields, each already written as listed() writes it.
void printRecord(CliContext &c, const QStringList &fields);
