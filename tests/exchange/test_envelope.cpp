#include "exchange/envelope.h"

#include <gtest/gtest.h>

namespace {

QStringList L(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out << QString::fromUtf8(i);
    return out;
}

} // namespace

TEST(Splitt, FieldsAtEverySeparator)
{
    struct Case {
        const char *text;
        QStringList fields;
    } cases[] = {
        { "a|b", L({ "a", "b" }) },
        { "a|", L({ "a", "" }) },
        { "|a", L({ "", "a" }) },
        { "a||b", L({ "a", "", "b" }) },
        { " a | b ", L({ " a ", " b " }) },
        { "", L({ "" }) },
        { "|", L({ "", "" }) },
        { "abc", L({ "abc" }) },
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitt(QString::fromUtf8(c.text), QStringLiteral("|")), c.fields) << c.text;
}

TEST(Splitt, LongSeparatorConsumesOnlyItsFirstCharacter)
{
    EXPECT_EQ(splitt(QStringLiteral("a::b"), QStringLiteral("::")), L({ "a", ":b" }));
}

TEST(AnswerLines, BreaksAndFinalLine)
{
    struct Case {
        const char *answer;
        QStringList lines;
    } cases[] = {
        { "", L({}) },
        { "a\r\nb", L({ "a", "b" }) },
        { "a\r\nb\r\n", L({ "a", "b" }) },
        { "a\r\n\r\n", L({ "a", "" }) },
        { "a\nb\n", L({ "a", "b" }) },
        // A lone CR stays inside its line.
        { "GOL\rFOX|x\r\nend", L({ "GOL\rFOX|x", "end" }) },
        { "\r\n", L({ "" }) },
    };
    for (const Case &c : cases) {
        AnswerLines lines(QString::fromUtf8(c.answer));
        EXPECT_EQ(lines.lines(), c.lines) << c.answer;
    }
}

TEST(AnswerLines, LongLineIsCutAndPastTheEndIsEmpty)
{
    AnswerLines lines(QString(5000, QLatin1Char('x')) + QStringLiteral("\r\nlast"));
    ASSERT_EQ(lines.count(), 2);
    EXPECT_EQ(lines.line(0).size(), 4096);
    EXPECT_EQ(lines.line(1), QStringLiteral("last"));
    EXPECT_EQ(lines.line(2), QString());
    EXPECT_EQ(lines.line(-1), QString());
}

TEST(AnswerLines, RefusalIsFirstCharacterStar)
{
    EXPECT_TRUE(isRefusal(QStringLiteral("*")));
    EXPECT_TRUE(isRefusal(QStringLiteral("*Erro")));
    EXPECT_FALSE(isRefusal(QStringLiteral(" *Erro")));
    EXPECT_FALSE(isRefusal(QString()));
}
