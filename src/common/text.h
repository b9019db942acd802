#pragma once

#include <QString>

// Removes leading and trailing blanks and control characters: every
// character up to U+0020, as the texts read from files and answers require.
QString trimControls(const QString &text);

// A text inside single quotes for a filter or statement, a quote inside doubled.
QString quoted(const QString &text);

// A text as a search compares it: without accents and in one letter case,
// so that "oleo" finds "ÓLEO" and "acao" finds "Ação".
QString searchFolded(const QString &text);

// The message of a record line cut into fewer fields than it must have.
QString missingFieldsText(qsizetype found, qsizetype needed);
