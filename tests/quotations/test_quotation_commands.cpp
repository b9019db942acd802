#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/test_store.h"

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
        store.addItem({u"C1"_s, u"P2"_s, u"NGK"_s});
        store.addItem({.cotacao = u"C1"_s, .produto = u"P1"_s, .marca = u"BOSCH"_s, .valor = 1234567.25,
                       .obs = u"obs P1"_s});
        store.addItem({u"A0"_s, u"P3"_s, u"ACME"_s});
    }

    CliRun cli(const QStringList &args) { return runCliIn(store.folder, args); }

    TestStore store;
};

} // namespace

TEST_F(QuotationCommands, ListingsInKeyAndBrandOrder)
{
    const CliRun list = cli({u"quotations"_s, u"list"_s});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, (QStringList{u"A0|ABERTA|2020-06-05||"_s, u"C1|Baixada|2020-06-05|14:30|2020-06-01"_s}));

    const CliRun items = cli({u"quotations"_s, u"items"_s, u"C1"_s});
    EXPECT_EQ(items.status, 0);
    EXPECT_EQ(items.out, (QStringList{u"COMPRAS|C1|2020-06-26|P1||peça||BOSCH|1|1234567.25||obs P1||||||"_s,
                                      u"COMPRAS|C1|2020-06-26|P2||peça||NGK|1|||||||||"_s}));
}

TEST_F(QuotationCommands, PriceObservationAndReady)
{
    EXPECT_EQ(cli({u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"0,5"_s, u"SIM 1"_s}).status, 0);
    EXPECT_EQ(cli({u"quotations"_s, u"price"_s, u"C1"_s, u"P1"_s, QString()}).status, 0);
    EXPECT_EQ(cli({u"quotations"_s, u"obs"_s, u"c1"_s, u"P2"_s, u"só amanhã"_s}).status, 0);
    EXPECT_EQ(store.rows(u"SELECT PRODUTO, VALOR, SIMILARES, OBS FROM CotacaoFornc WHERE COTACAO = 'C1' "
                         "ORDER BY PRODUTO"_s),
              (QStringList{u"P1|~|~|obs P1"_s, u"P2|0.5|SIM 1|só amanhã"_s}));

    const CliRun bad = cli({u"quotations"_s, u"price"_s, u"C1"_s, u"P2"_s, u"0.5"_s});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out.last(), u"[CotaKelvo] '0.5' is not a valid floating point value."_s);
    const CliRun open = cli({u"quotations"_s, u"price"_s, u"A0"_s, u"P3"_s, u"1"_s});
    EXPECT_EQ(open.status, 1);
    EXPECT_EQ(open.out, QStringList{u"[Erro] A cotação : A0 não está entre as cotações baixadas."_s});

    const CliRun no = cli({u"quotations"_s, u"ready"_s, u"C1"_s});
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.out, QStringList{u"[Atenção] Você colocou preços em : 1 produtos, e deixou sem preços : 1, tornando "
                                  "pronta para envio, não vai poder mais fazer alterações. Ok???"_s});
    EXPECT_EQ(store.status(u"C1"_s), u"Baixada"_s);
    EXPECT_EQ(cli({u"--yes"_s, u"quotations"_s, u"ready"_s, u"C1"_s}).status, 0);
    EXPECT_EQ(store.status(u"C1"_s), u"Enviar"_s);
    EXPECT_EQ(cli({u"quotations"_s, u"ready"_s, u"C1"_s}).status, 1);

    const CliRun unknown = cli({u"quotations"_s, u"download"_s, u"ZZ"_s});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, QStringList{u"[Erro] A cotação : ZZ não está no seu banco."_s});
    EXPECT_EQ(cli({u"quotations"_s, u"price"_s, u"C1"_s}).status, 2);
}
