#include "config/server_file.h"
#include "config/text_lines.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kMissing
    = QStringLiteral("Arquivo de configuração do servidor não foi encontrado... Serviço interrompido....");
const QString kProblems
    = QStringLiteral("Arquivo de configuração do servidor, está com problemas...Verifique...");
const QString kBlank = QStringLiteral("Informações sobre o servidor está em branco....");

ServerFile readBytes(const QByteArray &bytes)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), bytes);
    return readServerFile(dir.path());
}

} // namespace

TEST(ServerFile, FirstLineIsTakenAsWritten)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        QString servidor;
    };
    const Case cases[] = {
        { "no line end", "http://kelvo.example", QStringLiteral("http://kelvo.example") },
        { "trailing blanks kept", "  http://h:8080/x  \r\n", QStringLiteral("  http://h:8080/x  ") },
        { "tab kept", "http://h\t\r\n", QStringLiteral("http://h\t") },
        { "several lines", "http://a\r\nhttp://b\r\n", QStringLiteral("http://a") },
        { "lone CR", "http://a\rhttp://b\r", QStringLiteral("http://a") },
        { "lone LF", "http://a\nhttp://b\n", QStringLiteral("http://a") },
        { "blank second line", "http://a\r\n   \r\n", QStringLiteral("http://a") },
        { "Windows-1252", "http://s\xE3o.example/\x80", QString::fromUtf16(u"http://são.example/€") },
        { "UTF-8 BOM", "\xEF\xBB\xBFhttp://s\xC3\xA3o\r\n", QString::fromUtf16(u"http://são") },
        { "UTF-16LE BOM", QByteArray("\xFF\xFEh\0t\0\r\0\n\0x\0", 12), QStringLiteral("ht") },
        { "UTF-16BE BOM", QByteArray("\xFE\xFF\0h\0t\0\n", 8), QStringLiteral("ht") },
    };
    for (const Case &c : cases) {
        const ServerFile r = readBytes(c.bytes);
        EXPECT_TRUE(r.ok()) << c.name;
        EXPECT_FALSE(r.failure.has_value()) << c.name;
        EXPECT_EQ(r.servidor, c.servidor) << c.name;
    }
}

TEST(ServerFile, EmptyOrBlankFirstLineEndsTheProgram)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        ServerFileStatus status;
        QString caption;
        QString text;
        QString servidor;
    };
    const Case cases[] = {
        { "empty file", "", ServerFileStatus::Unusable, QStringLiteral("Erro"), kProblems, {} },
        { "BOM only", "\xEF\xBB\xBF", ServerFileStatus::Unusable, QStringLiteral("Erro"), kProblems, {} },
        { "empty first line", "\r\nhttp://a\r\n", ServerFileStatus::Blank, QStringLiteral("Erro"), kBlank,
            {} },
        { "blanks only", "   \r\nhttp://a", ServerFileStatus::Blank, QStringLiteral("Erro"), kBlank,
            QStringLiteral("   ") },
        { "control characters", "\t\x01 \n", ServerFileStatus::Blank, QStringLiteral("Erro"), kBlank,
            QStringLiteral("\t\x01 ") },
    };
    for (const Case &c : cases) {
        const ServerFile r = readBytes(c.bytes);
        EXPECT_EQ(r.status, c.status) << c.name;
        ASSERT_TRUE(r.failure.has_value()) << c.name;
        EXPECT_EQ(r.failure->caption, c.caption) << c.name;
        EXPECT_EQ(r.failure->text, c.text) << c.name;
        EXPECT_EQ(r.servidor, c.servidor) << c.name;
    }
}

TEST(ServerFile, MissingFileOrFolderInItsPlace)
{
    TempFolder dir;
    ServerFile r = readServerFile(dir.path());
    EXPECT_EQ(r.status, ServerFileStatus::Missing);
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->caption, QStringLiteral("Error"));
    EXPECT_EQ(r.failure->text, kMissing);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("server.new")));
    EXPECT_EQ(readServerFile(dir.path()).status, ServerFileStatus::Missing);
}

TEST(TextLines, SplitsLikeATextListOfLines)
{
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        { QString(), {} },
        { QStringLiteral("\r\n"), { QString() } },
        { QStringLiteral("a"), { QStringLiteral("a") } },
        { QStringLiteral("a\r\n"), { QStringLiteral("a") } },
        { QStringLiteral("a\r\n\r\n"), { QStringLiteral("a"), QString() } },
        { QStringLiteral("a\n\rb"), { QStringLiteral("a"), QString(), QStringLiteral("b") } },
        { QStringLiteral("a\r\r\nb\n"), { QStringLiteral("a"), QString(), QStringLiteral("b") } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitTextLines(c.text), c.lines) << c.text.toStdString();
}

TEST(TextLines, DamagedEncodingsDecodeWithoutFailing)
{
    // Unassigned Windows-1252 bytes keep their code; broken UTF-8 and an odd
    // UTF-16 byte become replacement characters.
    EXPECT_EQ(decodeTextFile("\x81\x8D\x9F\xFF"), QString::fromUtf16(u"\u0081\u008D\u0178\u00FF"));
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                             "a\xC3"),
        QString::fromUtf16(u"a\uFFFD"));
    EXPECT_EQ(decodeTextFile(QByteArray("\xFF\xFE"
                                        "a\0b",
                  5)),
        QString::fromUtf16(u"a\uFFFD"));
}
