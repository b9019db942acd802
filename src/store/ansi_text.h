#pragma once

#include <QString>

// The text as a column of the store keeps it: it ends at its first character
// of code 0, every character the Windows ANSI code page (1252) cannot hold
// becomes "?", and it is cut to maxChars characters (no cut when maxChars <= 0).
QString toAnsiText(const QString &text, int maxChars);
