#include "config/config_error.h"
#include "config/crypt.h"
#include "support/thrown.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString S(const char16_t *text)
{
    return QString::fromUtf16(text);
}

} // namespace

TEST(Crypt, KeyHas94CharactersWithBlankAt79)
{
    const QString key = cryptKey();
    ASSERT_EQ(key.size(), 94);
    EXPECT_EQ(key.indexOf(u' '), 78);
    EXPECT_EQ(key.count(u' '), 1);
}

// Worked out by hand from the algorithm:
//  "AB", offset 0x10: (65+16)%255=81 ^ 'Q'(81) = 0x00; (66+0) ^ 'W'(87) = 0x15.
//  "é",  offset 0x50: (233+80)%255=58 ^ 81 = 0x6B.
//  "Zz9", offset 0xFF: (90+255)%255=90 ^ 81 = 0x0B; (122+11)=133 ^ 87 = 0xD2;
//        (57+210)%255=12 ^ '7'(55) = 0x3B.
//  "€" (8364), offset 0: 8364%255=204 ^ 81 = 0x9D.
//  code 0, offset 0: 0 ^ 81 = 0x51.
TEST(Crypt, EnciphersKnownVectors)
{
    struct Case {
        QString clear;
        quint8 offset;
        QString hex;
    };
    const Case cases[] = {
        { QStringLiteral("AB"), 0x10, QStringLiteral("100015") },
        { S(u"é"), 0x50, QStringLiteral("506B") },
        { QStringLiteral("Zz9"), 0xFF, QStringLiteral("FF0BD23B") },
        { S(u"€"), 0x00, QStringLiteral("009D") },
        { QString(QChar(0)), 0x00, QStringLiteral("0051") },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Crypt(QStringLiteral("C"), c.clear, c.offset), c.hex) << c.hex.toStdString();
}

TEST(Crypt, DeciphersKnownVectorsInEitherCase)
{
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("100015")), QStringLiteral("AB"));
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("506b")), S(u"é"));
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("ff0Bd23B")), QStringLiteral("Zz9"));
    // Codes from 255 up are not restored: 8364 comes back as 204.
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("009D")), QString(QChar(204)));
    // Code 0 comes back as 255.
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("0051")), QString(QChar(255)));
}

// Each character of the key enciphered with offset 0 meets itself in the key
// and gives 00, so the key followed by its own first two characters enciphers
// to zeros only if the 95th character is taken with the key's 1st again.
TEST(Crypt, KeyWrapsAfter94Characters)
{
    const QString text = cryptKey() + QStringLiteral("QW");
    ASSERT_EQ(text.size(), 96);
    EXPECT_EQ(Crypt(QStringLiteral("C"), text, 0), QStringLiteral("00").repeated(97));
    EXPECT_EQ(Crypt(QStringLiteral("D"), QStringLiteral("00").repeated(97)), text);
    // A different 95th character differs in the 95th pair only.
    const QString other = Crypt(QStringLiteral("C"), cryptKey() + QStringLiteral("AW"), 0);
    EXPECT_EQ(other.mid(2 + 94 * 2, 2), QStringLiteral("10")); // 65 ^ 81
}

TEST(Crypt, OtherActionsAndEmptySourceGiveEmptyText)
{
    for (const QString &action :
        { QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("X"), QStringLiteral("CD"), QString() }) {
        EXPECT_EQ(Crypt(action, QStringLiteral("ABC")), QString());
        EXPECT_EQ(Crypt(action, QStringLiteral("100015")), QString());
    }
    EXPECT_EQ(Crypt(QStringLiteral("C"), QString()), QString());
    EXPECT_EQ(Crypt(QStringLiteral("D"), QString()), QString());
    // Even a malformed text is not looked at when the action is unknown.
    EXPECT_EQ(Crypt(QStringLiteral("x"), QStringLiteral("ZZ")), QString());
}

TEST(Crypt, RoundTripsEveryOffsetAndCodeFrom1To254)
{
    QString all;
    for (int code = 1; code <= 254; ++code)
        all += QChar(char16_t(code));
    const QString mixed = S(u"ÁÉÍ çãõ Senha 123 ") + all + all;
    for (int offset = 0; offset <= 255; ++offset) {
        const QString hex = Crypt(QStringLiteral("C"), mixed, quint8(offset));
        ASSERT_EQ(hex.size(), 2 + 2 * mixed.size());
        ASSERT_EQ(Crypt(QStringLiteral("D"), hex), mixed) << offset;
    }
}

TEST(Crypt, RandomOffsetGivesUpperCaseHexThatDeciphers)
{
    const QRegularExpression upperHex(QStringLiteral("^[0-9A-F]+$"));
    const QString clear = QStringLiteral("FORNECEDOR 42");
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString hex = Crypt(QStringLiteral("C"), clear);
        EXPECT_TRUE(upperHex.match(hex).hasMatch()) << hex.toStdString();
        EXPECT_EQ(hex.size(), 2 + 2 * clear.size());
        EXPECT_EQ(Crypt(QStringLiteral("D"), hex), clear);
        seen.insert(hex);
    }
    // 50 draws of 256 offsets: all equal would mean the offset is not random.
    EXPECT_GT(seen.size(), 1);
}

TEST(Crypt, MalformedTextRaisesNamingThePiece)
{
    struct Case {
        QString src;
        QString message;
    };
    const Case cases[] = {
        { QStringLiteral("10"), QStringLiteral("'' não é um número inteiro válido") },
        { QStringLiteral("1"), QStringLiteral("'1' não é um número inteiro válido") },
        { QStringLiteral("ZZ0015"), QStringLiteral("'ZZ' não é um número inteiro válido") },
        { QStringLiteral("10001G"), QStringLiteral("'1G' não é um número inteiro válido") },
        { QStringLiteral("10 015"), QStringLiteral("' 0' não é um número inteiro válido") },
        { QStringLiteral("+10015"), QStringLiteral("'+1' não é um número inteiro válido") },
        // A cut line: the lone last digit is an error, not dropped.
        { QStringLiteral("100"), QStringLiteral("'0' não é um número inteiro válido") },
        { QStringLiteral("1000151"), QStringLiteral("'1' não é um número inteiro válido") },
        { S(u"10é015"), S(u"'é0' não é um número inteiro válido") },
    };
    for (const Case &c : cases)
        EXPECT_EQ(thrownMessage([&] { Crypt(QStringLiteral("D"), c.src); }), c.message)
            << c.src.toStdString();
}
