// Workbooks written by spreadsheet programs and libraries that nobody here
// wrote, each an export of quotation 4711 filled in by a supplier, imported
// end to end by cotakelvo-cli. tests/fixtures/generators/make-workbooks.sh
// remakes them; the line above each says what its writer put in it.
#include "quotation_fixture.h"
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/qstring_printer.h"
#include "support/test_store.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class WorkbooksFromOtherPrograms : public ::testing::Test {
protected:
    WorkbooksFromOtherPrograms()
    {
        store.folder.write(u"server.new"_s, "http://127.0.0.1:1/kelvo\r\n");
        addSheetQuotation(store);
    }

    QStringList prices()
    {
        return store.rows(u"SELECT PRODUTO, VALOR, SIMILARES FROM CotacaoFornc ORDER BY PRODUTO"_s);
    }

    TestStore store;
};

const QString Abre = u"[Abre Planilha Excel] "_s;
const QString Finalizado = u"[Atenção] Processo Finalizado..."_s;

TEST_F(WorkbooksFromOtherPrograms, ImportThroughTheCommandLine)
{
    const QStringList unchanged = prices();
    const struct {
        QString file;
        QStringList out; // after the open dialog's line
        QStringList stored; // PRODUTO|VALOR|SIMILARES; empty: nothing changed
    } workbooks[] = {
        // LibreOffice Calc 7.4, headless --convert-to xlsx from
        // generators/cotacao4711_libreoffice.fods: shared strings, a price
        // formula with its result, a currency format, a quantity typed as
        // text ("1,5"), a date outside the item columns, an empty row before
        // a last row that is not read, a second sheet.
        { u"cotacao4711_libreoffice.xlsx"_s, { Finalizado },
            { u"P1|44.9|PD1234"_s, u"P2|~|~"_s, u"P3|12.5|~"_s, u"P4|3.5|SIM"_s } },
        // LibreOffice Calc 7.4 from generators/cotacao4711_libreoffice_data.csv
        // read under Brazilian settings: a price formula ("=7/2"), and
        // MAHLE's price typed as "10/5", which Calc made a date.
        { u"cotacao4711_libreoffice_data.xlsx"_s,
            { u"[Erro] Linha 4, coluna F (VALOR): \"10/05/2026\" não é um número. Nada foi alterado."_s },
            {} },
        // openpyxl 3.0.9 (generators/openpyxl_workbooks.py): inline strings,
        // line totals in column I saved without their results, delivery dates
        // in column H, a currency format on the prices, a price typed as text
        // ("12,5"), an empty row before a last row, a second sheet.
        { u"cotacao4711_openpyxl.xlsx"_s, { Finalizado },
            { u"P1|44.9|PD1234"_s, u"P2|7.25|~"_s, u"P3|12.5|~"_s, u"P4|3.5|SIM"_s } },
        // The same with MAHLE's price a formula saved without its result.
        { u"cotacao4711_openpyxl_formula.xlsx"_s,
            { u"[Erro] Linha 4, coluna F (VALOR): a fórmula =E4*8.3 foi salva sem o seu resultado; abra a "
              "planilha num programa de planilhas e salve-a antes de importar. Nada foi alterado."_s },
            {} },
        // SheetJS 0.18.5 (npm "xlsx", generators/sheetjs_workbooks.js): texts
        // as "str" cells without a shared-string table, a brand in lower
        // case, a quantity typed as text, a price formula with its result, an
        // empty row before a last row, a second sheet.
        { u"cotacao4711_sheetjs.xlsx"_s, { Finalizado },
            { u"P1|44.9|~"_s, u"P2|~|~"_s, u"P3|11.0|OC91"_s, u"P4|3.75|SIM"_s } },
        // The same with NGK's price a date under the built-in format 14.
        { u"cotacao4711_sheetjs_data.xlsx"_s,
            { u"[Erro] Linha 5, coluna F (VALOR): \"10/05/2026\" não é um número. Nada foi alterado."_s },
            {} },
        // ExcelJS 4.4.0 (generators/exceljs_workbooks.js): shared strings with
        // rich text, the quotation's sheet second in the file but first in
        // tab order, a price formula with its result, line totals with and
        // without one, a date and an elapsed time outside the item columns,
        // a price under a "[Red]" format.
        { u"cotacao4711_exceljs.xlsx"_s, { Finalizado },
            { u"P1|44.9|PD1234"_s, u"P2|~|~"_s, u"P3|12.5|OC91"_s, u"P4|4.0|~"_s } },
        // The same with MAHLE's quantity a time ("[h]:mm").
        { u"cotacao4711_exceljs_hora.xlsx"_s,
            { u"[Erro] Linha 4, coluna E (QTDE): \"01:30:00\" não é um número. Nada foi alterado."_s }, {} },
    };
    for (const auto &w : workbooks) {
        SCOPED_TRACE(w.file.toStdString());
        store.exec(u"UPDATE CotacaoFornc SET VALOR = CASE PRODUTO WHEN 'P1' THEN 45.9 WHEN 'P3' THEN 10 "
                   "WHEN 'P4' THEN 3.25 END, SIMILARES = CASE PRODUTO WHEN 'P3' THEN 'OLD' WHEN 'P4' "
                   "THEN 'SIM' END"_s);
        ASSERT_EQ(prices(), unchanged);
        const CliRun run
            = runCliIn(store.folder, { u"quotations"_s, u"import"_s, u"4711"_s, fixturePath(w.file) });
        EXPECT_EQ(run.status, w.stored.isEmpty() ? 1 : 0);
        EXPECT_EQ(run.out, QStringList { Abre } + w.out);
        EXPECT_EQ(prices(), w.stored.isEmpty() ? unchanged : w.stored);
    }
}

} // namespace
