#include "common/text.h"
#include "ui/prompts.h"

#include <gtest/gtest.h>

TEST(Text, TrimControlsRemovesEverythingUpToBlank)
{
    EXPECT_EQ(trimControls(QStringLiteral(" \t\r\nOK\r\n ")), QStringLiteral("OK"));
    EXPECT_EQ(trimControls(QString(QChar(1)) + QStringLiteral("a b") + QChar(0x20)), QStringLiteral("a b"));
    EXPECT_EQ(trimControls(QStringLiteral("   ")), QString());
    // A no-break space is above U+0020 and stays.
    EXPECT_EQ(
        trimControls(QString(QChar(0xA0)) + QStringLiteral("x")), QString(QChar(0xA0)) + QStringLiteral("x"));
}

TEST(Text, QuotedDoublesInnerQuotes)
{
    EXPECT_EQ(quoted(QStringLiteral("AB'C")), QStringLiteral("'AB''C'"));
    EXPECT_EQ(quoted(QString()), QStringLiteral("''"));
}

TEST(Text, ErrorBoxAppendsPointOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(errorBoxText(QStringLiteral("Unknown Protocol")), QStringLiteral("Unknown Protocol."));
    EXPECT_EQ(
        errorBoxText(QStringLiteral("HTTP/1.1 404 Not Found")), QStringLiteral("HTTP/1.1 404 Not Found."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Connection Closed Gracefully.")),
        QStringLiteral("Connection Closed Gracefully."));
    EXPECT_EQ(errorBoxText(QStringLiteral("falhou!")), QStringLiteral("falhou!"));
    EXPECT_EQ(errorBoxText(QStringLiteral("10 / 2")), QStringLiteral("10 / 2."));
    EXPECT_EQ(errorBoxText(QString()), QString());
}

TEST(Text, SearchFoldedDropsAccentsAndLetterCase)
{
    const struct {
        const char16_t *text;
        const char16_t *folded;
    } cases[] = {
        { u"ÓLEO", u"oleo" },
        { u"Ação", u"acao" },
        { u"PASTILHA DE FREIO DIANTEIRA", u"pastilha de freio dianteira" },
        { u"ÇX-1 Ü ñ ÂNGULO", u"cx-1 u n angulo" },
        { u"", u"" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(searchFolded(QString::fromUtf16(c.text)), QString::fromUtf16(c.folded));
}
