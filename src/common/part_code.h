#pragma once

#include <QList>
#include <QString>

// How the price look-ups compare brands and maker's codes. Buyers write one
// code several ways ("0986B00020", "0 986 B00 020", "0986.B00.020"): two
// codes of the same brand name one part when their loose keys are equal.

// A brand as the look-ups compare it: in one letter case, beyond ASCII too.
QString brandKey(const QString &marca);

// A code compared exactly: in one letter case, nothing else removed.
QString exactCodeKey(const QString &prodfabr);

// A code compared loosely: in one letter case, without the characters of
// looseCodeIgnored(). Empty for a code made only of those.
QString looseCodeKey(const QString &prodfabr);

// The blanks (space, tab, no-break space), dots, dashes (hyphen-minus, the
// hyphen, en and em dashes and the minus sign a word processor puts in) and
// slashes a loose key leaves out. The store's index of item codes removes
// the same ones, so that the two keys agree.
const QList<QChar> &looseCodeIgnored();

// How a look-up found its part: the code as written, or only loosely.
enum class CodeMatch { Exact, Loose };
