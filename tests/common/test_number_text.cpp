#include "common/regional.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Formats are those of the user's regional settings: the test binary runs
// under pt_BR.
TEST(NumberText, PatternsUseRegionalSeparators)
{
    const struct {
        double value;
        QString pattern;
        QString text;
    } cases[] = {
        { 7.5, u"0.00"_s, u"7,50"_s },
        { 1234.5, u"0.00"_s, u"1234,50"_s },
        { 1234.5, u"#,##0.00"_s, u"1.234,50"_s },
        { -0.001, u"0.00"_s, u"0,00"_s },
        { 2.005e6, u"#,##0.00"_s, u"2.005.000,00"_s },
        { 1.5, QString(), u"1,5"_s },
        { 3.0, QString(), u"3"_s },
        { 1234567.25, QString(), u"1234567,25"_s },
        { 0.1 + 0.2, QString(), u"0,3"_s },
    };
    for (const auto &c : cases)
        EXPECT_EQ(numberText(c.value, c.pattern), c.text) << c.value << ' ' << c.pattern.toStdString();
}

TEST(NumberText, DateTimeIsShortDateAndLongTimeWithoutZone)
{
    const QDateTime at(QDate(2020, 6, 5), QTime(14, 3, 9));
    EXPECT_EQ(dateTimeText(at), u"05/06/2020 14:03:09"_s);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(dateTimeText(at), u"05.06.20 14:03:09"_s);
    QLocale::setDefault(before);
}
