#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_writer.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

bool isZip(const QByteArray &bytes)
{
    return bytes.startsWith("PK\x03\x04");
}

TEST(XlsxWriter, WritesAWorkbookUnderAPathWithAccentedLetters)
{
    TempFolder folder;
    QDir(folder.path()).mkdir(u"Cotações São João"_s);
    const QString path = folder.file(u"Cotações São João/Cotação Ç.xlsx"_s);
    XlsxWriter writer(path, u"Preços"_s);
    writer.writeText(0, 0, u"MARCA"_s);
    writer.writeNumber(1, 4, 2.5);
    writer.setColumnWidth(0, 12.5);
    writer.close();
    writer.close(); // a second close does nothing
    EXPECT_TRUE(isZip(folder.read(u"Cotações São João/Cotação Ç.xlsx"_s)));
    EXPECT_EQ(QDir(folder.path() + u"/Cotações São João"_s).entryList(QDir::Files | QDir::Hidden),
        QStringList { u"Cotação Ç.xlsx"_s }); // nothing temporary left beside it
}

TEST(XlsxWriter, ReplacesAnExistingFileWithoutAsking)
{
    TempFolder folder;
    folder.write(u"a.xlsx"_s, "old contents");
    XlsxWriter writer(folder.file(u"a.xlsx"_s));
    writer.writeText(0, 0, u"x"_s);
    writer.close();
    EXPECT_TRUE(isZip(folder.read(u"a.xlsx"_s)));
}

// A failed close names the file and the cause, and leaves what was there.
TEST(XlsxWriter, AFailedCloseLeavesTheTargetAsItWas)
{
    TempFolder folder;
    const QString missing = folder.file(u"nao-existe/a.xlsx"_s);
    {
        XlsxWriter writer(missing);
        writer.writeText(0, 0, u"x"_s);
        try {
            writer.close();
            FAIL() << "no error";
        } catch (const SpreadsheetError &e) {
            EXPECT_TRUE(e.message().startsWith(u"Não foi possível gravar a planilha \""_s))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(u"não existe"_s)) << e.message().toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(missing));

    QDir(folder.path()).mkdir(u"pasta.xlsx"_s);
    XlsxWriter writer(folder.file(u"pasta.xlsx"_s));
    EXPECT_THROW(writer.close(), SpreadsheetError);
    EXPECT_TRUE(QFileInfo(folder.file(u"pasta.xlsx"_s)).isDir());
}

// The destructor saves a workbook that was left open normally, and drops one
// whose filling was interrupted by an error.
TEST(XlsxWriter, DestructorClosesUnlessAnErrorIsUnwinding)
{
    TempFolder folder;
    {
        XlsxWriter writer(folder.file(u"kept.xlsx"_s));
        writer.writeText(0, 0, u"x"_s);
    }
    EXPECT_TRUE(isZip(folder.read(u"kept.xlsx"_s)));

    folder.write(u"old.xlsx"_s, "old contents");
    try {
        XlsxWriter writer(folder.file(u"old.xlsx"_s));
        writer.writeText(0, 0, u"x"_s);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(folder.read(u"old.xlsx"_s), "old contents");
}

TEST(XlsxWriter, RefusesCellsItCannotWrite)
{
    TempFolder folder;
    EXPECT_THROW(XlsxWriter(folder.file(u"a.xlsx"_s), u"a[b]"_s), SpreadsheetError);
    XlsxWriter writer(folder.file(u"a.xlsx"_s));
    EXPECT_THROW(writer.writeText(-1, 0, u"x"_s), SpreadsheetError);
    EXPECT_THROW(writer.writeNumber(0, 16384, 1), SpreadsheetError);
    EXPECT_THROW(writer.writeNumber(1048576, 0, 1), SpreadsheetError);
    EXPECT_THROW(writer.writeNumber(0, 0, std::numeric_limits<double>::quiet_NaN()), SpreadsheetError);
    EXPECT_THROW(writer.writeText(0, 0, QString(32768, u'x')), SpreadsheetError);
    writer.writeText(0, 0, QString(32767, u'x'));
    writer.close();
    EXPECT_TRUE(isZip(folder.read(u"a.xlsx"_s)));
}

} // namespace
