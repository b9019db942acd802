#include "common/part_code.h"
#include "common/regional.h"

#include "support/qstring_printer.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PartCode, CodesWrittenSeveralWaysShareTheLooseKeyButNotTheExactOne)
{
    struct Case {
        QString code;
        QString loose;
    };
    const Case cases[] = {
        { u"0986B00020"_s, u"0986b00020"_s },
        { u"0 986 B00 020"_s, u"0986b00020"_s },
        { u"0986.B00.020"_s, u"0986b00020"_s },
        { u"0986-b00/020"_s, u"0986b00020"_s },
        { u"0986\u2013B00\u00A0020\t"_s, u"0986b00020"_s }, // en dash, no-break space
        { u"ÇX-1"_s, u"çx1"_s }, // beyond ASCII
        { u"ÉΣ-2"_s, u"éσ2"_s },
        { u"A_1+B"_s, u"a_1+b"_s }, // other marks stay
        { u" .-/ "_s, QString() },
    };
    for (const Case &c : cases)
        EXPECT_EQ(looseCodeKey(c.code), c.loose) << c.code.toStdString();
    EXPECT_NE(exactCodeKey(u"0986B00020"_s), exactCodeKey(u"0986.B00.020"_s));
    EXPECT_EQ(exactCodeKey(u" ÇX-1"_s), exactCodeKey(u"çx-1"_s));
    EXPECT_EQ(brandKey(u"AÇO "_s), brandKey(u"aço"_s));
}

TEST(FileNumber, TakesADecimalCommaOrPointWhereNoThousandsSeparatorCanBe)
{
    struct Case {
        QLocale locale;
        QString text;
        std::optional<double> value; // nothing: refused
    };
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    const QLocale usa(QLocale::English, QLocale::UnitedStates);
    const Case cases[] = {
        { brazil, u"12,50"_s, 12.5 },
        { brazil, u" 42.9 "_s, 42.9 }, // a file saved under English settings
        { brazil, u"189.50"_s, 189.5 },
        { brazil, u"1.500"_s, std::nullopt }, // a thousand and five hundred, or one and a half?
        { brazil, u"1.234,56"_s, std::nullopt },
        { brazil, u"1.2.3"_s, std::nullopt },
        { usa, u"12,50"_s, 12.5 }, // a file saved under Brazilian settings
        { usa, u"12.50"_s, 12.5 },
        { usa, u"1,500"_s, std::nullopt },
        { usa, u"1,234.56"_s, std::nullopt },
        { brazil, u"abc"_s, std::nullopt },
    };
    for (const Case &c : cases) {
        QLocale::setDefault(c.locale);
        std::optional<double> got;
        bool refused = false;
        try {
            got = fileNumber(c.text);
        } catch (const ConversionError &) {
            refused = true;
        }
        EXPECT_EQ(refused, !c.value) << c.text.toStdString() << " " << c.locale.name().toStdString();
        if (c.value) {
            EXPECT_EQ(got, c.value) << c.text.toStdString() << " " << c.locale.name().toStdString();
        }
    }
    QLocale::setDefault(brazil);
    EXPECT_EQ(fileNumber(u"  "_s), std::nullopt);
}
