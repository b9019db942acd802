#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/xlsx_writer.h"
#include "support/fixtures.h"

#include "support/qstring_printer.h"
#include "support/temp_folder.h"
#include "support/zip_maker.h"
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFixture(const QString &name)
{
    QFile file(fixturePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Worksheet readZip(const ZipMaker &zip, const XlsxLimits &limits = {})
{
    TempFolder folder;
    const QString path = folder.file(u"planilha.xlsx"_s);
    EXPECT_TRUE(zip.save(path));
    return readFirstWorksheet(path, limits);
}

TEST(XlsxReader, ReadsEveryKindOfCellOfTheFirstWorksheet)
{
    const QByteArray sst = "<si><t>MARCA</t></si>"
                           "<si><r><rPr><b/></rPr><t>Bos</t></r><r><t xml:space=\"preserve\">ch </t></r>"
                           "<rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh></si>"
                           "<si><t>linha_x000D_quebra</t></si>";
    const QByteArray data
        = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"s\"><v>1</v></c></row>"
          // a row without a reference follows the previous one; cells without
          // one follow the cell before them
          "<row><c t=\"inlineStr\"><is><t>inline</t></is></c><c><v>1E+300</v></c><c t=\"b\"><v>1</v></c>"
          "<c t=\"b\"><v>0</v></c></row>"
          "<row r=\"5\"><c r=\"B5\" s=\"3\"><v>43831</v></c><c r=\"D5\"><v>123456789012345</v></c>"
          "<c r=\"E5\" t=\"str\"><f>A1&amp;\"x\"</f><v>MARCAx</v></c><c r=\"F5\"><v>1.5E-3</v></c>"
          "<c r=\"G5\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c><c r=\"H5\"><f>2*3</f><v>6</v></c>"
          "<c r=\"I5\"><f>NOW()</f></c><c r=\"J5\" s=\"1\"/></row>"
          "<row r=\"6\"><c r=\"A6\" t=\"s\"><v>2</v></c><c r=\"B6\"><v>-0.5</v></c></row>";
    const Worksheet sheet = readZip(workbookZip(data, sst));

    EXPECT_EQ(sheet.name(), u"Itens"_s);
    EXPECT_EQ(sheet.rowCount(), 6);
    EXPECT_EQ(sheet.columnCount(), 9); // J5 has a style only

    struct Expected {
        int row, col;
        CellKind kind;
        QString text;
        double number;
    };
    const Expected cells[] = {
        { 0, 0, CellKind::Text, u"MARCA"_s, 0 },
        { 0, 1, CellKind::Empty, {}, 0 },
        { 0, 2, CellKind::Text, u"Bosch "_s, 0 },
        { 1, 0, CellKind::Text, u"inline"_s, 0 },
        { 1, 1, CellKind::Number, {}, 1e300 },
        { 1, 2, CellKind::Boolean, {}, 1 },
        { 1, 3, CellKind::Boolean, {}, 0 },
        { 2, 0, CellKind::Empty, {}, 0 },
        { 4, 1, CellKind::Number, {}, 43831 },
        { 4, 3, CellKind::Number, {}, 123456789012345.0 },
        { 4, 4, CellKind::Text, u"MARCAx"_s, 0 },
        { 4, 5, CellKind::Number, {}, 0.0015 },
        { 4, 6, CellKind::Error, u"#DIV/0!"_s, 0 },
        { 4, 7, CellKind::Number, {}, 6 },
        { 4, 8, CellKind::Uncalculated, u"NOW()"_s, 0 }, // saved without its result
        { 4, 9, CellKind::Empty, {}, 0 },
        { 5, 0, CellKind::Text, u"linha\rquebra"_s, 0 },
        { 5, 1, CellKind::Number, {}, -0.5 },
        { 900, 900, CellKind::Empty, {}, 0 },
    };
    for (const Expected &e : cells) {
        SCOPED_TRACE(testing::Message() << "row " << e.row << " col " << e.col);
        const SheetCell &c = sheet.cell(e.row, e.col);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.text, e.text);
        EXPECT_DOUBLE_EQ(c.number, e.number);
    }
}

TEST(XlsxReader, ReadsBackWhatTheWriterWrote)
{
    TempFolder folder;
    const QString path = folder.file(u"Cotação 12.xlsx"_s);
    {
        XlsxWriter writer(path, u"Preços"_s);
        writer.writeText(0, 0, u"Ação"_s);
        writer.writeText(0, 1, QString()); // stays empty
        writer.writeNumber(2, 6, 1234.5);
        writer.close();
    }
    const Worksheet sheet = readFirstWorksheet(path);
    EXPECT_EQ(sheet.name(), u"Preços"_s);
    EXPECT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.columnCount(), 7);
    EXPECT_EQ(sheet.cell(0, 0).text, u"Ação"_s);
    EXPECT_TRUE(sheet.cell(0, 1).isEmpty());
    EXPECT_EQ(sheet.cell(2, 6).kind, CellKind::Number);
    EXPECT_EQ(sheet.cell(2, 6).number, 1234.5);
}

TEST(XlsxReader, AnEmptySheetHasNoUsedRange)
{
    const Worksheet sheet = readZip(workbookZip(QByteArray()));
    EXPECT_EQ(sheet.rowCount(), 0);
    EXPECT_EQ(sheet.columnCount(), 0);
}

// Every damaged or hostile file is refused with a message naming the file
// and the fault; none crashes or hangs.
TEST(XlsxReader, RefusesDamagedAndHostileFiles)
{
    const QByteArray good = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
    const QByteArray whole = workbookZip(good).bytes();
    XlsxLimits small;
    small.maxPartSize = 200000;
    XlsxLimits lowRatio;
    lowRatio.ratioFloor = 10000;
    lowRatio.maxRatio = 50;
    XlsxLimits fewEntries;
    fewEntries.maxEntries = 3;
    XlsxLimits shallow;
    shallow.maxDepth = 4;
    XlsxLimits tiny;
    tiny.maxRows = 10;
    tiny.maxColumns = 5;
    tiny.maxCells = 3;
    XlsxLimits lowTotal;
    lowTotal.maxTotalSize = 1000;

    const QByteArray bomb = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" + QByteArray(4 << 20, ' ');
    struct Case {
        const char *name;
        QByteArray bytes;
        XlsxLimits limits;
        QString expected;
    };
    const Case cases[] = {
        { "not a zip", "MARCA;PRODFABR\nBOSCH;123\n", {}, u"não é uma pasta de trabalho .xlsx"_s },
        { "empty file", QByteArray(), {}, u"não é uma pasta de trabalho .xlsx"_s },
        { "truncated zip", whole.left(whole.size() / 2), {}, u"não é uma pasta de trabalho .xlsx"_s },
        { "zip bomb over the part size", workbookZip(bomb).bytes(), small, u"passa de 200000 bytes"_s },
        { "zip bomb by ratio", workbookZip(bomb).bytes(), lowRatio, u"compressão suspeita"_s },
        { "zip bomb over the total", workbookZip(good).bytes(), lowTotal, u"passa de 1000 bytes"_s },
        { "file over the total", QByteArray(1001, 'P'), lowTotal, u"o arquivo passa de 1000 bytes"_s },
        // Found by the fuzzer: a few kilobytes whose index sent the zip
        // reader through a million reads of the file.
        { "damaged index", readFixture(u"xlsx_damaged_index.xlsx"_s), {},
            u"o índice do arquivo zip está danificado"_s },
        { "too many entries", whole, fewEntries, u"mais de 3 arquivos"_s },
        { "no workbook part", ZipMaker().add(u"xl/other.xml"_s, "<a/>").bytes(), {},
            u"falta a parte \"xl/workbook.xml\""_s },
        { "sheet part missing",
            ZipMaker()
                .add(u"xl/workbook.xml"_s,
                    "<workbook xmlns:r=\"urn:r\"><sheets><sheet name=\"a\" "
                    "r:id=\"rId1\"/></sheets></workbook>")
                .add(u"xl/_rels/workbook.xml.rels"_s,
                    "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                    "Target=\"worksheets/sheet1.xml\"/></Relationships>")
                .bytes(),
            {}, u"falta a parte \"xl/worksheets/sheet1.xml\""_s },
        { "no worksheet", ZipMaker().add(u"xl/workbook.xml"_s, "<workbook><sheets/></workbook>").bytes(), {},
            u"não tem nenhuma planilha"_s },
        { "bad XML", workbookZip("<row r=\"1\"><c r=\"A1\"><v>1</v></row>").bytes(), {},
            u"não é um XML válido"_s },
        { "DTD", ZipMaker().add(u"xl/workbook.xml"_s, "<!DOCTYPE a [<!ENTITY b \"c\">]><workbook/>").bytes(),
            {}, u"DTD"_s },
        { "too deep", workbookZip("<row><c><is><r><t>a</t></r></is></c></row>").bytes(), shallow,
            u"passa de 4 níveis"_s },
        { "too many rows", workbookZip("<row r=\"11\"/>").bytes(), tiny, u"passa de 10 linhas"_s },
        { "row beyond the sheet", workbookZip("<row r=\"99999999\"/>").bytes(), {},
            u"passa de 1048576 linhas"_s },
        { "too many columns", workbookZip("<row r=\"1\"><c r=\"F1\"><v>1</v></c></row>").bytes(), tiny,
            u"passa de 5 colunas"_s },
        { "too many cells",
            workbookZip("<row><c><v>1</v></c><c><v>1</v></c><c><v>1</v></c><c><v>1</v></c></row>").bytes(),
            tiny, u"passa de 3 células"_s },
        { "too many shared strings",
            workbookZip(good, "<si><t>a</t></si><si><t>b</t></si><si><t>c</t></si><si><t>d</t></si>").bytes(),
            tiny, u"passa de 3 textos"_s },
        { "bad cell reference", workbookZip("<row><c r=\"1A\"><v>1</v></c></row>").bytes(), {},
            u"referência de célula inválida: \"1A\""_s },
        { "bad number", workbookZip("<row><c r=\"E2\"><v>1,5</v></c></row>").bytes(), {},
            u"número inválido na célula E2: \"1,5\""_s },
        { "rows out of order", workbookZip("<row r=\"3\"/><row r=\"2\"/>").bytes(), {},
            u"tem a linha 2 depois da linha 3"_s },
        { "cell of another row", workbookZip("<row r=\"2\"><c r=\"A3\"><v>1</v></c></row>").bytes(), {},
            u"tem a célula A3 dentro da linha 2"_s },
        { "bad date", workbookZip("<row><c r=\"F2\" t=\"d\"><v>10/5</v></c></row>").bytes(), {},
            u"data inválida na célula F2: \"10/5\""_s },
        { "missing shared string",
            workbookZip("<row><c r=\"B3\" t=\"s\"><v>4</v></c></row>", "<si><t>a</t></si>").bytes(), {},
            u"célula B3 para um texto que não existe"_s },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write(u"Cotacao 7.xlsx"_s, c.bytes);
        try {
            readFirstWorksheet(folder.file(u"Cotacao 7.xlsx"_s), c.limits);
            ADD_FAILURE() << "no error";
        } catch (const SpreadsheetError &e) {
            EXPECT_TRUE(e.message().startsWith(u"Não foi possível ler a planilha \""_s))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(u"Cotacao 7.xlsx"_s)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(c.expected)) << e.message().toStdString();
        }
    }
}

// A caller names the columns it needs: the cells of the others are not
// decoded, so that what they hold cannot stop the read, but they count in
// the columns used. Row 1 can be read whole to choose the columns by their
// titles.
TEST(XlsxReader, ReadsOnlyTheColumnsAskedFor)
{
    const QByteArray data
        = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>MARCA</t></is></c>"
          "<c r=\"C1\" t=\"inlineStr\"><is><t>PRECO</t></is></c></row>"
          "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>NGK</t></is></c><c r=\"B2\"><v>1,5</v></c>"
          "<c r=\"C2\"><f>4*2</f><v>8</v></c><c r=\"D2\" t=\"x\"><v>?</v></c>"
          "<c r=\"E2\" t=\"s\"><v>99</v></c><c r=\"F2\"><f>B2</f><v/></c></row>"
          "<row r=\"4\"><c r=\"G4\" t=\"b\"><v>talvez</v></c><c r=\"H4\" s=\"2\"/></row>"
          // Past the end of the sheet's data: never read.
          "</sheetData><sheetData><row r=\"9\"><c r=\"A9\"><v>x</v></c></row>";
    TempFolder folder;
    const QString path = folder.file(u"Cotacao 7.xlsx"_s);
    ASSERT_TRUE(workbookZip(data).save(path));

    WorksheetReader reader(path);
    EXPECT_EQ(reader.sheetName(), u"Itens"_s);
    ASSERT_TRUE(reader.nextRow(ColumnSet::all()));
    EXPECT_EQ(reader.row(), 0);
    EXPECT_EQ(reader.cell(2).text, u"PRECO"_s);
    const ColumnSet chosen = ColumnSet::of({ 2, 0 });
    ASSERT_TRUE(reader.nextRow(chosen));
    EXPECT_EQ(reader.row(), 1);
    EXPECT_EQ(reader.cell(0).text, u"NGK"_s);
    EXPECT_TRUE(reader.cell(1).isEmpty());
    EXPECT_EQ(reader.cell(2).number, 8);
    EXPECT_EQ(reader.cellColumns(), (QList<int> { 0, 2 }));
    ASSERT_TRUE(reader.nextRow(chosen));
    EXPECT_EQ(reader.row(), 3); // a row the file leaves out is not there
    EXPECT_TRUE(reader.cellColumns().isEmpty());
    EXPECT_FALSE(reader.nextRow(chosen));
    EXPECT_FALSE(reader.nextRow(chosen));
    EXPECT_EQ(reader.usedColumns(), 7); // H4 has a style only

    const Worksheet firstColumns = readFirstWorksheet(path, {}, ColumnSet::firstColumns(1));
    EXPECT_EQ(firstColumns.rowCount(), 2);
    EXPECT_EQ(firstColumns.columnCount(), 1);
    // Read whole, the sheet is refused at its first bad cell.
    try {
        readFirstWorksheet(path);
        FAIL() << "no error";
    } catch (const SpreadsheetError &e) {
        EXPECT_TRUE(e.message().contains(u"número inválido na célula B2"_s)) << e.message().toStdString();
    }
}

// A number under a date or time format is a date (a price typed as "10/5"
// becomes one); the format decides, not the number. Formats of conditional
// formatting and of cell styles are not cell formats.
TEST(XlsxReader, KnowsTheNumbersShownAsDates)
{
    const QByteArray styles
        = "<numFmts count=\"4\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/>"
          "<numFmt numFmtId=\"165\" formatCode=\"#,##0.00 &quot;R$&quot;\"/>"
          "<numFmt numFmtId=\"166\" formatCode=\"[h]:mm\"/>"
          "<numFmt numFmtId=\"22\" formatCode=\"0.00\"/></numFmts>"
          "<cellStyleXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellStyleXfs>"
          "<cellXfs count=\"8\"><xf numFmtId=\"0\" xfId=\"1\"/><xf numFmtId=\"14\"/>"
          "<xf numFmtId=\"164\"><alignment horizontal=\"left\"/></xf><xf numFmtId=\"165\"/>"
          "<xf numFmtId=\"166\"/><xf numFmtId=\"4\"/><xf numFmtId=\"47\"/><xf numFmtId=\"22\"/></cellXfs>"
          "<dxfs count=\"1\"><dxf><numFmt numFmtId=\"165\" formatCode=\"yyyy\"/></dxf></dxfs>";
    const QByteArray data
        = "<row r=\"1\"><c r=\"A1\"><v>45.9</v></c><c r=\"B1\" s=\"1\"><v>46152</v></c>"
          "<c r=\"C1\" s=\"2\"><v>46152.5</v></c><c r=\"D1\" s=\"3\"><v>12.5</v></c>"
          "<c r=\"E1\" s=\"4\"><v>1.0625</v></c><c r=\"F1\" s=\"5\"><v>1234.5</v></c>"
          "<c r=\"G1\" s=\"6\"><v>0.000011574074074</v></c><c r=\"H1\" s=\"7\"><v>10.5</v></c>"
          "<c r=\"I1\" s=\"99\"><v>3</v></c><c r=\"J1\" s=\"1\" t=\"str\"><f>A1</f><v>10/5</v></c>"
          "<c r=\"K1\" t=\"d\"><v>2026-05-10T12:00:00Z</v></c><c r=\"L1\" t=\"d\"><v>01:30:00</v></c></row>";
    struct Expected {
        int col;
        CellKind kind;
        QDate date;
        QTime time;
    };
    const Expected cells[] = {
        { 0, CellKind::Number, {}, {} },
        { 1, CellKind::DateTime, QDate(2026, 5, 10), QTime(0, 0) },
        { 2, CellKind::DateTime, QDate(2026, 5, 10), QTime(12, 0) },
        { 3, CellKind::Number, {}, {} },
        { 4, CellKind::DateTime, QDate(1900, 1, 1), QTime(1, 30) },
        { 5, CellKind::Number, {}, {} },
        { 6, CellKind::DateTime, {}, QTime(0, 0, 1) },
        { 7, CellKind::Number, {}, {} }, // a built-in id the workbook gave a number format
        { 8, CellKind::Number, {}, {} }, // a cell format the workbook lacks
        { 9, CellKind::Text, {}, {} },
        { 10, CellKind::DateTime, QDate(2026, 5, 10), QTime(12, 0) },
        { 11, CellKind::DateTime, {}, QTime(1, 30) },
    };
    const Worksheet sheet = readZip(workbookZip(data, {}, styles));
    for (const Expected &e : cells) {
        SCOPED_TRACE(testing::Message() << "col " << e.col);
        const SheetCell &c = sheet.cell(0, e.col);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.date(), e.date);
        EXPECT_EQ(c.time(), e.time);
    }
    // The 1904 date system counts the same serial four years later; an ISO
    // date is the date it names.
    const Worksheet mac = readZip(workbookZip(data, {}, styles, true));
    EXPECT_EQ(mac.cell(0, 1).date(), QDate(2030, 5, 11));
    EXPECT_EQ(mac.cell(0, 10).date(), QDate(2026, 5, 10));
}

TEST(XlsxReader, AMissingFileIsNamed)
{
    TempFolder folder;
    try {
        readFirstWorksheet(folder.file(u"nada.xlsx"_s));
        FAIL() << "no error";
    } catch (const SpreadsheetError &e) {
        EXPECT_TRUE(e.message().contains(u"o arquivo não existe"_s)) << e.message().toStdString();
    }
}

} // namespace

namespace {

// Written by another program (from tests/fixtures/cotacao_libreoffice.fods,
// converted to .xlsx by LibreOffice Calc): shared strings with rich-text
// runs, styles, a styled empty cell.
TEST(XlsxReader, ReadsAWorkbookWrittenByAnotherProgram)
{
    const Worksheet sheet = readFirstWorksheet(fixturePath(u"cotacao_libreoffice.xlsx"_s));
    EXPECT_EQ(sheet.name(), u"Cotação"_s);
    EXPECT_EQ(sheet.rowCount(), 5);
    EXPECT_EQ(sheet.columnCount(), 7);
    EXPECT_EQ(sheet.cell(0, 6).text, u"SIMILARES"_s);
    EXPECT_EQ(sheet.cell(1, 2).text, u"Pastilha de freio dianteira"_s);
    EXPECT_EQ(sheet.cell(1, 5).number, 45.9);
    EXPECT_TRUE(sheet.cell(2, 5).isEmpty());
    EXPECT_EQ(sheet.cell(2, 6).text, u"BKR6EIX"_s);
    EXPECT_EQ(sheet.cell(3, 4).kind, CellKind::Number);
    EXPECT_EQ(sheet.cell(3, 4).number, 1.5);
}

} // namespace
