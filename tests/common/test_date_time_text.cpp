#include "common/regional.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The test binary runs under pt_BR; another locale shows the text follows it.
TEST(DateTimeText, IsShortDateAndLongTimeWithoutZone)
{
    const QDateTime at(QDate(2020, 6, 5), QTime(14, 3, 9));
    EXPECT_EQ(dateTimeText(at), u"05/06/2020 14:03:09"_s);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(dateTimeText(at), u"05.06.20 14:03:09"_s);
    QLocale::setDefault(before);
}
