#include "quotation_fixture.h"
#include "quotations/price_entry.h"
#include "quotations/spreadsheet_exchange.h"
#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/xlsx_writer.h"
#include "support/fixtures.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/zip_maker.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Abre = u"[Abre Planilha Excel] "_s; // the open dialog, no folder proposed
const QString Finalizado = u"[Atenção] Processo Finalizado..."_s;

class SpreadsheetExchangeTest : public ::testing::Test {
protected:
    SpreadsheetExchangeTest()
        : entry(prompts, store.dm)
        , exchange(prompts, store.dm)
    {
        addSheetQuotation(store);
        store.addQuotation(u"4712"_s, u"Baixada"_s);
        store.exec(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, VALOR) "
                   "VALUES ('ACME', '4712', '2020-06-01', 'Q1', 'BOSCH', '0986AB1234', 7)"_s);
        entry.start();
        entry.chooseQuotation([](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, { u"4711"_s }); });
        prompts.clear();
    }

    // PRODUTO|VALOR|SIMILARES of every item of both quotations, as stored.
    QStringList prices()
    {
        return store.rows(u"SELECT PRODUTO, VALOR, SIMILARES FROM CotacaoFornc ORDER BY PRODUTO"_s);
    }

    QString file(const QString &name) const { return store.folder.file(name); }

    // A workbook of rows of cells: a double is a number, a text is a text,
    // an invalid QVariant an empty cell.
    QString writeSheet(const QString &name, const QList<QVariantList> &rows) const
    {
        const QString path = file(name);
        XlsxWriter writer(path);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size(); ++c) {
                const QVariant &v = rows[r][c];
                if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int)
                    writer.writeNumber(r, c, v.toDouble());
                else if (v.isValid())
                    writer.writeText(r, c, v.toString());
            }
        }
        writer.close();
        return path;
    }

    static QVariantList titles()
    {
        QVariantList out;
        for (const QString &t : SpreadsheetExchange::columnTitles())
            out << t;
        return out;
    }

    bool import(const QString &path)
    {
        prompts.files.push_back(path);
        return exchange.importItems();
    }

    ScriptedPrompts prompts;
    TestStore store;
    PriceEntry entry;
    SpreadsheetExchange exchange;
};

// Each row of the sheet as its cells joined by "|", numbers marked "#".
QStringList dump(const Worksheet &sheet)
{
    QStringList out;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < sheet.columnCount(); ++c) {
            const SheetCell &cell = sheet.cell(r, c);
            cells << (cell.kind == CellKind::Number ? u"#"_s + QString::number(cell.number) : cell.text);
        }
        out << cells.join(u'|');
    }
    return out;
}

TEST_F(SpreadsheetExchangeTest, ExportWritesTheItemsShownInBrandOrderWithRawValues)
{
    ASSERT_TRUE(entry.selectItem(u"P3"_s));
    prompts.files.push_back(file(u"Cotacao4711"_s)); // the extension is added
    ASSERT_TRUE(exchange.exportItems());

    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"save"_s);
    EXPECT_EQ(prompts.shown[0].caption, u"Salva a Planilha"_s);
    EXPECT_EQ(prompts.shown[0].text, u"Cotacao4711"_s);
    EXPECT_EQ(prompts.filters, QStringList { u"Excel (*.xlsx)"_s });
    EXPECT_EQ(dump(readFirstWorksheet(file(u"Cotacao4711.xlsx"_s))),
        (QStringList { u"MARCA|PRODFABR|DESCRICAO|UN|QTDE|VALOR|SIMILARES"_s,
            u"ACDELCO|X9|Sem quantidade|UN||#3.25|SIM"_s,
            u"BOSCH|0986AB1234|Pastilha de freio dianteira|JG|#2|#45.9|"_s,
            u"MAHLE|OC90|Filtro de óleo|PC|#1.5|#10|OLD"_s, u"NGK|BKR6E|Vela de ignição|PC|#8||"_s }));
    // The grid keeps its row.
    EXPECT_EQ(store.dm.CotaFornec().current()->produto, u"P3"_s);
}

TEST_F(SpreadsheetExchangeTest, AFailedExportSaysWhyAndLeavesNoFile)
{
    prompts.files.push_back(file(u"sem-pasta/Cotacao4711.xlsx"_s));
    EXPECT_FALSE(exchange.exportItems());
    ASSERT_EQ(prompts.boxes().size(), 1);
    EXPECT_TRUE(prompts.boxes()[0].contains(u"não existe"_s)) << prompts.boxes()[0].toStdString();
    EXPECT_FALSE(QFile::exists(file(u"sem-pasta/Cotacao4711.xlsx"_s)));
}

// Also for the item without quantity, whose quantity cell is empty.
TEST_F(SpreadsheetExchangeTest, AnExportedFileImportsUnchanged)
{
    const QStringList before = prices();
    prompts.files.push_back(file(u"Cotacao4711.xlsx"_s));
    ASSERT_TRUE(exchange.exportItems());
    ASSERT_TRUE(import(file(u"Cotacao4711.xlsx"_s)));
    EXPECT_EQ(prompts.transcript(), (QStringList { u"[Salva a Planilha] Cotacao4711"_s, Abre, Finalizado }));
    EXPECT_EQ(prices(), before);
}

TEST_F(SpreadsheetExchangeTest, ItemsSharingBrandAndCodeEachTakeTheirOwnRow)
{
    // Two product codes of the buyer for one part: each keeps its price.
    addSheetItem(
        store, u"P5"_s, u"BOSCH"_s, u"0986AB1234"_s, u"Pastilha (outro código)"_s, u"JG"_s, 4, 50, u"B"_s);
    entry.chooseQuotation([](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, { u"4711"_s }); });
    const QStringList before = prices();
    prompts.files.push_back(file(u"Cotacao4711.xlsx"_s));
    ASSERT_TRUE(exchange.exportItems());
    ASSERT_TRUE(import(file(u"Cotacao4711.xlsx"_s)));
    EXPECT_EQ(prices(), before);

    // Rows beyond the items of their key go to the last of them.
    const QVariantList bosch { u"BOSCH"_s, u"0986AB1234"_s, {}, {}, 1 };
    ASSERT_TRUE(import(writeSheet(u"Cotacao4711 repetida.xlsx"_s,
        { titles(), bosch + QVariantList { 1, u"A1"_s }, bosch + QVariantList { 2, u"A2"_s },
            bosch + QVariantList { 3, u"A3"_s } })));
    EXPECT_EQ(store.rows(u"SELECT PRODUTO, VALOR, SIMILARES FROM CotacaoFornc WHERE PRODUTO IN ('P1', 'P5') "
                         "ORDER BY PRODUTO"_s),
        (QStringList { u"P1|1.0|A1"_s, u"P5|3.0|A3"_s }));
}

TEST_F(SpreadsheetExchangeTest, ImportAppliesPricesAndSimilarItemsByBrandAndCode)
{
    ASSERT_TRUE(entry.selectItem(u"P2"_s));
    const QString path = writeSheet(u"Cotacao4711 preços.xlsx"_s,
        { titles(),
            // another letter case; a price of 0 empties it
            { u"bosch"_s, u"0986ab1234"_s, {}, {}, 2, 0, u"SIMX"_s },
            // texts read under the regional settings
            { u"NGK"_s, u"BKR6E"_s, {}, {}, u"8"_s, u"12,5"_s, {} },
            // a blank price empties it; a similar item longer than the
            // column keeps its first 20 letters, and the log says so
            { u"MAHLE"_s, u"OC90"_s, {}, {}, 1.5, u"  "_s, u"Z12345678901234567890ÇÃO"_s },
            { u"SEM CADASTRO"_s, u"X-1"_s, {}, {}, 1, 9.99, u"não importado, nem cortado"_s },
            // a blank brand ends the import
            { u"  "_s, u"X9"_s, {}, {}, 1, 1, {} }, { u"ACDELCO"_s, u"X9"_s, {}, {}, 1, 99, u"no"_s } });
    ASSERT_TRUE(import(path));
    EXPECT_EQ(prices(),
        (QStringList { u"P1|~|SIMX"_s, u"P2|12.5|~"_s, u"P3|~|Z1234567890123456789"_s, u"P4|3.25|SIM"_s,
            u"Q1|7.0|~"_s }));
    // The row that matched no item, and the similar item cut, are listed
    // after the end message.
    EXPECT_EQ(prompts.transcript(),
        (QStringList { Abre, Finalizado,
            u"log: Linhas da planilha sem item correspondente na cotação 4711 (preços não importados):"_s,
            u"log: Linha 5 - Marca: SEM CADASTRO - Código: X-1"_s,
            u"log: Linhas com SIMILARES de mais de 20 caracteres (guardados os 20 primeiros):"_s,
            u"log: Linha 4 - Marca: MAHLE - Código: OC90 - Guardado: Z1234567890123456789"_s }));
    EXPECT_EQ(prompts.filters, QStringList { u"Excel (*.xlsx)"_s });
    // The grid keeps its row and shows the new values.
    const QuotationItemRow *item = store.dm.CotaFornec().current();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->produto, u"P2"_s);
    EXPECT_EQ(item->valor, 12.5);
}

TEST_F(SpreadsheetExchangeTest, AWorkbookWrittenByAnotherProgramImports)
{
    QDir(store.folder.path()).mkdir(u"4711"_s);
    const QString path = file(u"4711/de outro programa.xlsx"_s);
    ASSERT_TRUE(QFile::copy(fixturePath(u"cotacao_libreoffice.xlsx"_s), path));
    ASSERT_TRUE(import(path));
    EXPECT_EQ(prices(),
        (QStringList {
            u"P1|45.9|~"_s, u"P2|~|BKR6EIX"_s, u"P3|12.35|~"_s, u"P4|3.25|SIM"_s, u"Q1|7.0|~"_s }));
    EXPECT_EQ(prompts.transcript(),
        (QStringList { Abre, Finalizado,
            u"log: Linhas da planilha sem item correspondente na cotação 4711 (preços não importados):"_s,
            u"log: Linha 5 - Marca: SEM CADASTRO - Código: X-1"_s }));
}

// Only the columns the import uses are read, and only down to the first
// blank brand: what the rest of the sheet holds cannot stop it.
TEST_F(SpreadsheetExchangeTest, WhatTheImportDoesNotUseCannotStopIt)
{
    const QByteArray sheet
        = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>MARCA</t></is></c></row>"
          "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>NGK</t></is></c>"
          "<c r=\"B2\" t=\"inlineStr\"><is><t>BKR6E</t></is></c><c r=\"C2\"><f>X</f><v/></c>"
          "<c r=\"D2\" t=\"s\"><v>7</v></c><c r=\"E2\"><v>8</v></c><c r=\"F2\" s=\"1\"><v>12.5</v></c>"
          "<c r=\"H2\" s=\"2\"><v>46152</v></c><c r=\"I2\"><f>E2*F2</f><v></v></c>"
          "<c r=\"J2\"><v>1,5</v></c><c r=\"K2\" t=\"e\"><v>#REF!</v></c></row>"
          // A blank brand ends the rows read, whatever else its row holds.
          "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t> </t></is></c><c r=\"E3\"><v>x</v></c>"
          "<c r=\"F3\"><f>1/0</f></c></row>"
          "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>MAHLE</t></is></c>"
          "<c r=\"B4\" t=\"inlineStr\"><is><t>OC90</t></is></c><c r=\"G4\" t=\"x\"><v>?</v></c></row>";
    const QByteArray styles
        = "<numFmts><numFmt numFmtId=\"164\" formatCode=\"#,##0.00 &quot;R$&quot;\"/>"
          "<numFmt numFmtId=\"165\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
          "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs>";
    ASSERT_TRUE(workbookZip(sheet, {}, styles).save(file(u"Cotacao4711.xlsx"_s)));
    EXPECT_TRUE(import(file(u"Cotacao4711.xlsx"_s)));
    EXPECT_EQ(prompts.transcript(), (QStringList { Abre, Finalizado }));
    EXPECT_EQ(prices(),
        (QStringList { u"P1|45.9|~"_s, u"P2|12.5|~"_s, u"P3|10.0|OLD"_s, u"P4|3.25|SIM"_s, u"Q1|7.0|~"_s }));
}

TEST_F(SpreadsheetExchangeTest, AFileWithOnlyTheTitlesImportsNothingAndFinishes)
{
    const QStringList before = prices();
    ASSERT_TRUE(import(writeSheet(u"Cotacao4711.xlsx"_s, { titles() })));
    EXPECT_EQ(prompts.transcript(), (QStringList { Abre, Finalizado }));
    EXPECT_EQ(prices(), before);
}

TEST_F(SpreadsheetExchangeTest, APathWithoutTheQuotationNumberIsRefusedBeforeReading)
{
    EXPECT_FALSE(import(file(u"Cotacao4712.xlsx"_s))); // does not even exist
    EXPECT_EQ(prompts.boxes(), QStringList { u"[Erro] Arquivo incompatível, Verifique..."_s });
}

// A cell that cannot be read stops the import before any item changes, and
// says where it is; the end message is not shown.
TEST_F(SpreadsheetExchangeTest, AnUnreadableFileChangesNothing)
{
    const QVariantList good { u"BOSCH"_s, u"0986AB1234"_s, {}, {}, 2, 1, u"S"_s };
    const QVariantList sixTitles = titles().mid(0, 6);
    struct Case {
        const char *name;
        QList<QVariantList> rows;
        QString message;
    };
    const Case cases[] = {
        { "quantity not a number", { titles(), good, { u"NGK"_s, u"BKR6E"_s, {}, {}, u"dois"_s, 1, {} } },
            u"Linha 3, coluna E (QTDE): \"dois\" não é um número."_s },
        { "price not a number", { titles(), good, { u"NGK"_s, u"BKR6E"_s, {}, {}, 1, u"12.5.1"_s, {} } },
            u"Linha 3, coluna F (VALOR): \"12.5.1\" não é um número."_s },
        { "fewer than seven columns", { sixTitles, good.mid(0, 6) },
            u"Linha 2, coluna G (SIMILARES): a planilha tem só 6 colunas usadas; são necessárias 7, de MARCA a SIMILARES."_s },
    };
    const QStringList before = prices();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        EXPECT_FALSE(import(writeSheet(u"Cotacao4711.xlsx"_s, c.rows)));
        EXPECT_EQ(prompts.boxes(), QStringList { u"[Erro] "_s + c.message + u" Nada foi alterado."_s });
        EXPECT_EQ(prices(), before);
    }

    // Cells as other programs save them: a formula that failed, one saved
    // without its result, a price or a quantity that the spreadsheet turned
    // into a date or a time.
    const QByteArray styles
        = "<numFmts><numFmt numFmtId=\"164\" formatCode=\"[h]:mm\"/></numFmts>"
          "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/></cellXfs>";
    const struct {
        const char *name;
        QByteArray cells;
        QString message;
    } saved[] = {
        { "formula error", "<c r=\"F2\" t=\"e\"><f>VLOOKUP(B2,X,2)</f><v>#N/A</v></c>",
            u"Linha 2, coluna F (VALOR): a célula contém o erro #N/A."_s },
        { "formula without result", "<c r=\"F2\"><f>E2*1.5</f><v/></c>",
            u"Linha 2, coluna F (VALOR): a fórmula =E2*1.5 foi salva sem o seu resultado; abra a planilha "
            "num programa de planilhas e salve-a antes de importar."_s },
        { "text formula without result", "<c r=\"G2\" t=\"str\"><f>A2&amp;B2</f></c>",
            u"Linha 2, coluna G (SIMILARES): a fórmula =A2&B2 foi salva sem o seu resultado; abra a planilha "
            "num programa de planilhas e salve-a antes de importar."_s },
        { "date price", "<c r=\"F2\" s=\"1\"><v>46152</v></c>",
            u"Linha 2, coluna F (VALOR): \"10/05/2026\" não é um número."_s },
        { "time quantity", "<c r=\"E2\" s=\"2\"><v>0.0625</v></c>",
            u"Linha 2, coluna E (QTDE): \"01:30:00\" não é um número."_s },
    };
    for (const auto &c : saved) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        ASSERT_TRUE(workbookZip("<row r=\"1\"><c r=\"G1\" t=\"inlineStr\"><is><t>SIMILARES</t></is></c></row>"
                                "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>NGK</t></is></c>"
                                "<c r=\"B2\" t=\"inlineStr\"><is><t>BKR6E</t></is></c>"
                + c.cells + "</row>",
            {}, styles)
                        .save(file(u"Cotacao4711.xlsx"_s)));
        EXPECT_FALSE(import(file(u"Cotacao4711.xlsx"_s)));
        EXPECT_EQ(prompts.boxes(), QStringList { u"[Erro] "_s + c.message + u" Nada foi alterado."_s });
        EXPECT_EQ(prices(), before);
    }

    prompts.clear();
    store.folder.write(u"Cotacao4711.xlsx"_s, "MARCA;PRODFABR\nBOSCH;0986AB1234\n");
    EXPECT_FALSE(import(file(u"Cotacao4711.xlsx"_s)));
    ASSERT_EQ(prompts.boxes().size(), 1);
    EXPECT_TRUE(prompts.boxes()[0].startsWith(u"[Erro] Não foi possível ler a planilha"_s));
    EXPECT_TRUE(prompts.boxes()[0].endsWith(u"não é um arquivo zip válido). Nada foi alterado."_s));
    EXPECT_EQ(prices(), before);
}

// The rows are applied in one transaction: a store failure on a later row
// leaves the earlier ones as they were, in the file and in the grid.
TEST_F(SpreadsheetExchangeTest, AStoreFailureRollsTheWholeImportBack)
{
    store.exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON CotacaoFornc WHEN NEW.PRODUTO = 'P3' "
               "BEGIN SELECT RAISE(ABORT, 'falha simulada'); END"_s);
    const QStringList before = prices();
    const QString path = writeSheet(u"Cotacao4711.xlsx"_s,
        { titles(), { u"BOSCH"_s, u"0986AB1234"_s, {}, {}, 2, 99, u"S"_s },
            { u"MAHLE"_s, u"OC90"_s, {}, {}, 1, 5, {} } });
    EXPECT_FALSE(import(path));
    ASSERT_EQ(prompts.boxes().size(), 1);
    EXPECT_TRUE(prompts.boxes()[0].contains(u"falha simulada"_s)) << prompts.boxes()[0].toStdString();
    EXPECT_EQ(prices(), before);
    ASSERT_TRUE(entry.selectItem(u"P1"_s));
    EXPECT_EQ(store.dm.CotaFornec().current()->valor, 45.9);
}

TEST_F(SpreadsheetExchangeTest, NothingHappensWhileNoItemIsShown)
{
    entry.start();
    prompts.files.push_back(file(u"Cotacao0.xlsx"_s));
    EXPECT_FALSE(exchange.exportItems());
    EXPECT_FALSE(exchange.importItems());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

} // namespace
