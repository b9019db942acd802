#pragma once

#include <QBitArray>
#include <QString>
#include <QStringView>

class ZipArchive;

// Whether a number format shows its number as a date or a time: the
// built-in formats by id, a custom format by the day, month, year, hour,
// minute or second codes outside its quoted texts, escaped characters and
// brackets ("[$-416]", "[Red]"), where an elapsed time ("[h]") counts.
bool isBuiltInDateTimeFormat(int numFmtId);
bool isDateTimeFormatCode(QStringView code);

// The cell formats of a workbook (its styles part) that show a number as a
// date or a time, by the index a cell names in its "s".
class DateFormats final {
public:
    bool isDateTime(int style) const
    {
        return style >= 0 && style < m_dateTime.size() && m_dateTime.testBit(style);
    }
    // Throws SpreadsheetError for a damaged part or a limit passed.
    static DateFormats read(ZipArchive &zip, const QString &part, int maxDepth);

private:
    QBitArray m_dateTime;
};
