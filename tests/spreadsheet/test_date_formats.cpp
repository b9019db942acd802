#include "spreadsheet/date_formats.h"
#include "spreadsheet/xlsx_reader.h"

#include "support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DateFormats, DayMonthYearHourMinuteSecondCodesMakeADate)
{
    const struct {
        QString code;
        bool dateTime;
    } cases[] = {
        { u"dd/mm/yyyy"_s, true },
        { u"DD/MM/YY"_s, true },
        { u"[$-416]d\\ mmm\\ yyyy"_s, true },
        { u"[$-F800]dddd\\,\\ mmmm\\ dd\\,\\ yyyy"_s, true },
        { u"h:mm AM/PM"_s, true },
        { u"[h]:mm"_s, true }, // elapsed time
        { u"[mm]"_s, true },
        { u"mm:ss"_s, true },
        { u"0.00;[Red]-0.00;\"hoje\"dd"_s, true }, // any section
        { u"General"_s, false },
        { u"0.00"_s, false },
        { u"#,##0.00"_s, false },
        { u"#,##0.00 \"R$\""_s, false },
        { u"[$R$-416]\\ #,##0.00"_s, false },
        { u"[Red]#,##0.00;[Blue]-#,##0.00"_s, false },
        { u"#,##0.00_);(#,##0.00)"_s, false },
        { u"0.00E+00"_s, false },
        { u"0\" dias\""_s, false }, // quoted text
        { u"0\\h"_s, false }, // an escaped character
        { u"_-* #,##0.00_-;-* #,##0.00_-;_-* \"-\"??_-;_-@_-"_s, false },
        { u"@"_s, false },
        { u"[>100]0;0.0"_s, false }, // a condition
        { u"\"unterminated"_s, false },
        { u"0[h"_s, false },
        { QString(), false },
    };
    for (const auto &c : cases)
        EXPECT_EQ(isDateTimeFormatCode(c.code), c.dateTime) << c.code.toStdString();

    for (int id : { 14, 17, 22, 27, 36, 45, 47, 50, 58 })
        EXPECT_TRUE(isBuiltInDateTimeFormat(id)) << id;
    for (int id : { 0, 2, 4, 13, 23, 26, 37, 44, 48, 49, 59, 164 })
        EXPECT_FALSE(isBuiltInDateTimeFormat(id)) << id;
}

// Serial days as a spreadsheet counts them from 1900, with the leap day
// 29/02/1900 that never was; a time a hair under midnight is the next day.
TEST(DateFormats, SerialsAreTheDaysSpreadsheetsShow)
{
    const struct {
        double serial;
        QDate date;
        QTime time;
    } cases[] = {
        { 1, QDate(1900, 1, 1), QTime(0, 0) },
        { 59.5, QDate(1900, 2, 28), QTime(12, 0) },
        { 61, QDate(1900, 3, 1), QTime(0, 0) },
        { 46152, QDate(2026, 5, 10), QTime(0, 0) },
        { 46152.99999999999, QDate(2026, 5, 11), QTime(0, 0) },
        { 2958465, QDate(9999, 12, 31), QTime(0, 0) },
        { 0.75, QDate(), QTime(18, 0) },
        { -1, QDate(), QTime() },
        { 2958466, QDate(), QTime() },
        { 1e300, QDate(), QTime() },
    };
    for (const auto &c : cases) {
        const SheetCell cell { CellKind::DateTime, {}, c.serial };
        EXPECT_EQ(cell.date(), c.date) << c.serial;
        EXPECT_EQ(cell.time(), c.time) << c.serial;
    }
    EXPECT_FALSE((SheetCell { CellKind::Number, {}, 46152 }).date().isValid());
}
