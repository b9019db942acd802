#pragma once

#include <QString>

// How the price look-ups compare brands and maker's codes. Buyers write one
// code several ways ("0986B00020", "0 986 B00 020", "0986.B00.020"): two
// codes of the same brand name one part when their loose keys are equal.

// A brand as the look-ups compare it: in one letter case, beyond ASCII too.
QString brandKey(const QString &marca);

// A code compared exactly: in one letter case, nothing else removed.
QString exactCodeKey(const QString &prodfabr);

// A code compared loosely: in one letter case, without blanks, dots, dashes
// (of any kind) and slashes. Empty for a code made only of those.
QString looseCodeKey(const QString &prodfabr);

// How a look-up found its part: the code as written, or only loosely.
enum class CodeMatch { Exact, Loose };
