#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/xlsx_writer.h"
#include "spreadsheet/zip_archive.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(XlsxWriter, NumbersKeepTheirValueUnderANumberFormat)
{
    TempFolder folder;
    const QString path = folder.file(u"formatos.xlsx"_s);
    XlsxWriter writer(path);
    writer.writeNumber(0, 0, 7.5, u"0.00"_s);
    writer.writeNumber(1, 0, 1234.5, u"#,##0.00"_s);
    writer.writeNumber(2, 0, 0.125, u"0.00"_s); // the first format serves again
    writer.writeNumber(3, 0, 1.5, QString());
    writer.close();

    const Worksheet sheet = readFirstWorksheet(path);
    for (const auto &[row, value] : { std::pair { 0, 7.5 }, { 1, 1234.5 }, { 2, 0.125 }, { 3, 1.5 } }) {
        EXPECT_EQ(sheet.cell(row, 0).kind, CellKind::Number) << row;
        EXPECT_DOUBLE_EQ(sheet.cell(row, 0).number, value) << row;
    }
    ZipArchive zip(path, {});
    const QByteArray styles = zip.read(u"xl/styles.xml"_s);
    EXPECT_EQ(styles.count("formatCode=\"0.00\""), 1) << styles.constData();
    EXPECT_EQ(styles.count("formatCode=\"#,##0.00\""), 1);
}
