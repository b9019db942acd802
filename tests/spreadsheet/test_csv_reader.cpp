#include "spreadsheet/csv_reader.h"
#include "spreadsheet/spreadsheet_error.h"

#include "support/qstring_printer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList joined(const CsvFile &f)
{
    QStringList out;
    for (const QStringList &row : f.rows)
        out << row.join(u'|');
    return out;
}

} // namespace

TEST(CsvReader, FindsTheEncodingTheSeparatorAndTheQuotedFields)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        QChar separator;
        QString encoding;
        QStringList rows;
    };
    const Case cases[] = {
        { "semicolons, CRLF, no final line end", "MARCA;VALOR\r\nBOSCH;12,5", u';', u"UTF-8"_s,
            { u"MARCA|VALOR"_s, u"BOSCH|12,5"_s } },
        { "commas with quoted commas, quotes and a line break",
            "A,B\n\"x,y\",\"diz \"\"oi\"\"\"\n\"duas\nlinhas\",z\n", u',', u"UTF-8"_s,
            { u"A|B"_s, u"x,y|diz \"oi\""_s, u"duas\nlinhas|z"_s } },
        { "tabs", "A\tB\n1\t2\n", u'\t', u"UTF-8"_s, { u"A|B"_s, u"1|2"_s } },
        { "a blank line is a row of its own", "A;B\n\n1;2\n", u';', u"UTF-8"_s,
            { u"A|B"_s, QString(), u"1|2"_s } },
        { "a semicolon list whose titles hold a comma in quotes", "\"A,1\";B;C\n", u';', u"UTF-8"_s,
            { u"A,1|B|C"_s } },
        { "UTF-8 with a byte order mark", "\xEF\xBB\xBFMARCA;DESCRI\xC3\x87\xC3\x83O\n", u';', u"UTF-8"_s,
            { u"MARCA|DESCRIÇÃO"_s } },
        { "Windows-1252", "MARCA;DESCRI\xC7\xC3O;\x93x\x94 \x80\n", u';', u"Windows-1252"_s,
            { u"MARCA|DESCRIÇÃO|\u201Cx\u201D \u20AC"_s } },
        { "UTF-16 with its byte order mark",
            QByteArray("\xFF\xFE"
                       "A\0;\0B\0\n\0",
                10),
            u';', u"UTF-16"_s, { u"A|B"_s } },
        { "CR alone ends a line", "A;B\r1;2\r", u';', u"UTF-8"_s, { u"A|B"_s, u"1|2"_s } },
    };
    for (const Case &c : cases) {
        const CsvFile f = parseCsv(c.bytes, u"lista.csv"_s);
        EXPECT_EQ(f.separator, c.separator) << c.name;
        EXPECT_EQ(f.encoding, c.encoding) << c.name;
        EXPECT_EQ(joined(f), c.rows) << c.name;
    }
}

TEST(CsvReader, RefusesWhatIsNoTextFileNamingTheFile)
{
    const auto refusal = [](const QByteArray &bytes) {
        try {
            parseCsv(bytes, u"lista.csv"_s);
        } catch (const SpreadsheetError &e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal("A;B\n1;\"aberta\n2;3\n"),
        u"Não foi possível ler o arquivo \"lista.csv\": a linha 2 abre aspas que não se fecham até o fim do "
        "arquivo."_s);
    EXPECT_TRUE(refusal(QByteArray("A;B\n\0\0\x01", 7)).contains(u"não é um arquivo de texto"_s));

    TempFolder folder;
    folder.write(u"grande.csv"_s, QByteArray(2048, 'x'));
    EXPECT_THROW(readCsvFile(folder.file(u"grande.csv"_s), 1024), SpreadsheetError);
    EXPECT_THROW(readCsvFile(folder.file(u"nenhum.csv"_s)), SpreadsheetError);
    EXPECT_EQ(readCsvFile(folder.file(u"grande.csv"_s), 4096).rows.size(), 1);
    // A file of several read pieces comes whole, and the limit counts them all.
    folder.write(u"pedacos.csv"_s, "A;B\n" + QByteArray("1;2\n").repeated(700000));
    EXPECT_EQ(readCsvFile(folder.file(u"pedacos.csv"_s), 4 << 20).rows.size(), 700001);
    EXPECT_THROW(readCsvFile(folder.file(u"pedacos.csv"_s), 2 << 20), SpreadsheetError);
}
