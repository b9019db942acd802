#include "spreadsheet/xlsx_reader.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/report_reading.h"
#include "support/test_store.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class QuotationCommands : public ::testing::Test {
protected:
    QuotationCommands()
    {
        store.folder.write(u"server.new"_s, "http://127.0.0.1:1/kelvo\r\n");
        store.addQuotation(u"C1"_s, u"Baixada"_s);
        store.addQuotation(u"A0"_s, u"ABERTA"_s);
        store.exec(u"UPDATE CotaLiberadas SET AteHora = NULL, DataLiberada = NULL WHERE Cotacao = 'A0'"_s);
        store.addItem({ u"C1"_s, u"P2"_s, u"NGK"_s });
        store.addItem({ .cotacao = u"C1"_s,
            .produto = u"P1"_s,
            .marca = u"BOSCH"_s,
            .valor = 1234567.25,
            .obs = u"obs P1"_s });
        store.addItem({ u"A0"_s, u"P3"_s, u"ACME"_s });
    }

    CliRun cli(const QStringList &args) { return runCliIn(store.folder, args); }

    TestStore store;
};

} // namespace

TEST_F(QuotationCommands, ListingsInKeyAndBrandOrder)
{
    const CliRun list = cli({ u"quotations"_s, u"list"_s });
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(
        list.out, (QStringList { u"A0|ABERTA|2020-06-05||"_s, u"C1|Baixada|2020-06-05|14:30|2020-06-01"_s }));

    // A line break, backslash or "|" typed in a field is escaped: one item,
    // one line, each value one field.
    store.exec(u"UPDATE CotacaoFornc SET OBS = 'obs' || char(13) || char(10) || 'P2\\x|y' WHERE PRODUTO = "
               "'P2'"_s);
    const CliRun items = cli({ u"quotations"_s, u"items"_s, u"C1"_s });
    EXPECT_EQ(items.status, 0);
    EXPECT_EQ(items.out,
        (QStringList { u"COMPRAS|C1|2020-06-26|P1||peça||BOSCH|1|1234567.25||obs P1||||||"_s,
            u"COMPRAS|C1|2020-06-26|P2||peça||NGK|1|||obs\\r\\nP2\\\\x\\|y||||||"_s }));
}

// A similar item or an observation longer than its column is cut as the
// window's editors would take it, and the tool says so before storing it.
TEST_F(QuotationCommands, ATextLongerThanItsColumnIsCutAndSaidSo)
{
    const QString similar = u"SACHS 6235 OU LUK 620 3133 00 ORIG"_s;
    const CliRun price = cli({ u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"1"_s, similar });
    EXPECT_EQ(price.status, 0);
    EXPECT_EQ(price.out,
        QStringList { u"[Atenção] O texto tem 34 caracteres; só os 20 primeiros serão gravados."_s });
    const QString obs(230, u'ó');
    const CliRun typed = cli({ u"quotations"_s, u"obs"_s, u"C1"_s, u"P2"_s, obs });
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(typed.out,
        (QStringList { u"[Digite] A sua observação :"_s,
            u"[Digite] O texto tem 230 caracteres; só os 200 primeiros serão gravados."_s }));
    EXPECT_EQ(store.rows(u"SELECT SIMILARES, OBS FROM CotacaoFornc WHERE PRODUTO = 'P2'"_s),
        QStringList { similar.left(20) + u'|' + obs.left(200) });

    // Within the column: nothing is said.
    EXPECT_EQ(
        cli({ u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"1"_s, similar.left(20) }).out, QStringList {});
}

TEST_F(QuotationCommands, PriceObservationAndReady)
{
    EXPECT_EQ(cli({ u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"0,5"_s, u"SIM 1"_s }).status, 0);
    EXPECT_EQ(cli({ u"quotations"_s, u"price"_s, u"C1"_s, u"P1"_s, QString() }).status, 0);
    EXPECT_EQ(cli({ u"quotations"_s, u"obs"_s, u"c1"_s, u"P2"_s, u"só amanhã"_s }).status, 0);
    EXPECT_EQ(store.rows(u"SELECT PRODUTO, VALOR, SIMILARES, OBS FROM CotacaoFornc WHERE COTACAO = 'C1' "
                         "ORDER BY PRODUTO"_s),
        (QStringList { u"P1|~|~|obs P1"_s, u"P2|0.5|SIM 1|só amanhã"_s }));

    const CliRun bad = cli({ u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"0.5"_s });
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out.last(), u"[CotaKelvo] '0.5' não é um número válido."_s);
    const CliRun open = cli({ u"quotations"_s, u"price"_s, u"A0"_s, u"P3"_s, u"1"_s });
    EXPECT_EQ(open.status, 1);
    EXPECT_EQ(open.out, QStringList { u"[Erro] A cotação : A0 não está entre as cotações baixadas."_s });

    const CliRun no = cli({ u"quotations"_s, u"ready"_s, u"C1"_s });
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.out,
        QStringList { u"[Atenção] Você colocou preços em : 1 produtos, e deixou sem preços : 1, tornando "
                      "pronta para envio, não vai poder mais fazer alterações. Ok???"_s });
    EXPECT_EQ(store.status(u"C1"_s), u"Baixada"_s);
    EXPECT_EQ(cli({ u"--yes"_s, u"quotations"_s, u"ready"_s, u"C1"_s }).status, 0);
    EXPECT_EQ(store.status(u"C1"_s), u"Enviar"_s);
    EXPECT_EQ(cli({ u"quotations"_s, u"ready"_s, u"C1"_s }).status, 1);

    const CliRun unknown = cli({ u"quotations"_s, u"download"_s, u"ZZ"_s });
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, QStringList { u"[Erro] A cotação : ZZ não está no seu banco."_s });
    EXPECT_EQ(cli({ u"quotations"_s, u"price"_s, u"C1"_s }).status, 2);
}

TEST_F(QuotationCommands, PrintWritesTheFilesAskedFor)
{
    const QString pdf = store.folder.file(u"cotacao.pdf"_s);
    const QString xlsx = store.folder.file(u"cotacao.xlsx"_s);
    // With --yes or without it: the printout asks nothing.
    for (const QStringList &yes : { QStringList(), QStringList { u"--yes"_s } }) {
        QFile::remove(pdf);
        QFile::remove(xlsx);
        const CliRun run = runCliIn(store.folder,
            yes + QStringList { u"quotations"_s, u"print"_s, u"C1"_s, u"--pdf"_s, pdf, u"--xlsx"_s, xlsx });
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, QStringList { u"pages: 1"_s });
        EXPECT_TRUE(pdfText(pdf).contains(u"1234567,25"_s));
        EXPECT_GT(readFirstWorksheet(xlsx).rowCount(), 2);
    }

    const struct {
        QStringList args;
        int status;
        QStringList out;
    } refusals[] = {
        { { u"ZZ"_s }, 1, { u"[Erro] A cotação : ZZ não está no seu banco."_s } },
        { { u"A0"_s }, 1, { u"[Erro] A cotação : A0 não está entre as cotações baixadas."_s } },
        { { u"C1"_s, u"--pdf"_s }, 2, {} },
        { { u"C1"_s, u"--html"_s, pdf }, 2, {} },
    };
    for (const auto &r : refusals) {
        const CliRun refused = runCliIn(store.folder, QStringList { u"quotations"_s, u"print"_s } + r.args);
        EXPECT_EQ(refused.status, r.status) << r.args.join(u' ').toStdString();
        EXPECT_EQ(refused.out, r.out);
    }

    // A file that cannot be written fails after the pages were counted.
    const CliRun unwritable = runCliIn(store.folder,
        { u"quotations"_s, u"print"_s, u"C1"_s, u"--pdf"_s, store.folder.file(u"no/such/dir.pdf"_s) });
    EXPECT_EQ(unwritable.status, 1);
    ASSERT_EQ(unwritable.out.size(), 2);
    EXPECT_TRUE(unwritable.out.at(1).startsWith(u"[CotaKelvo] "_s));
}

TEST_F(QuotationCommands, ExportReplacesTheFileAndImportReadsItBack)
{
    const QString path = store.folder.file(u"CotacaoC1.xlsx"_s);
    store.folder.write(u"CotacaoC1.xlsx"_s, "not a workbook");
    for (const QStringList &yes : { QStringList(), QStringList { u"--yes"_s } }) {
        const CliRun exported
            = runCliIn(store.folder, yes + QStringList { u"quotations"_s, u"export"_s, u"C1"_s, path });
        EXPECT_EQ(exported.status, 0);
        EXPECT_EQ(exported.out, QStringList { u"[Salva a Planilha] "_s });
        EXPECT_EQ(readFirstWorksheet(path).rowCount(), 3);
    }

    ASSERT_EQ(runCliIn(store.folder, { u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"5"_s }).status, 0);
    const CliRun imported = runCliIn(store.folder, { u"quotations"_s, u"import"_s, u"C1"_s, path });
    EXPECT_EQ(imported.status, 0);
    EXPECT_EQ(
        imported.out, (QStringList { u"[Abre Planilha Excel] "_s, u"[Atenção] Processo Finalizado..."_s }));
    EXPECT_EQ(store.rows(u"SELECT PRODUTO, VALOR FROM CotacaoFornc WHERE COTACAO = 'C1' ORDER BY PRODUTO"_s),
        (QStringList { u"P1|1234567.25"_s, u"P2|~"_s }));

    const QString other = store.folder.file(u"outra.xlsx"_s);
    QFile::copy(path, other);
    const CliRun refused = runCliIn(store.folder, { u"quotations"_s, u"import"_s, u"C1"_s, other });
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out.last(), u"[Erro] Arquivo incompatível, Verifique..."_s);
    EXPECT_EQ(runCliIn(store.folder, { u"quotations"_s, u"export"_s, u"ZZ"_s, path }).status, 1);
}
