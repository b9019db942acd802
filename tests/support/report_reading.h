#pragma once

#include "report/prepared_report.h"

#include <QString>
#include <QStringList>

// Reading a report back as a person would: the lines of a prepared page, and
// the text, page count and title of a PDF file through poppler's tools.

// Each printed line of the page as its texts joined by " | ".
QStringList pageLines(const PreparedPage &page);
// The first item of any page whose text is the given one, or nullptr.
const PreparedText *findText(const PreparedPage &page, const QString &text);

// The text of the PDF file in reading layout, pages separated by form feeds.
QString pdfText(const QString &path);
// A field of pdfinfo ("Pages", "Title", "Page size").
QString pdfInfo(const QString &path, const QString &field);
// The pages of the PDF file: pdfinfo's count where poppler is installed;
// elsewhere (the Windows build under Wine) the page objects in the file.
int pdfPageCount(const QString &path);
