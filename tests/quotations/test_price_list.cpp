#include "common/clock.h"
#include "common/part_code.h"
#include "common/regional.h"
#include "quotations/price_list.h"
#include "store/price_list_store.h"
#include "support/cli_run.h"
#include "support/fixtures.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PriceListTest : public ::testing::Test {
protected:
    PriceListTest() { Clock::setCurrent(&clock); }
    ~PriceListTest() override { Clock::setCurrent(nullptr); }

    // Each entry as line|brand|loose code|unit|price, which holds however
    // the program that wrote the file spelt the code.
    QStringList stored()
    {
        QStringList out;
        forEachPriceListEntry(store.dm.Banco(), [&out](const PriceListEntry &e) {
            out << u"%1|%2|%3|%4|%5"_s.arg(e.linha).arg(
                e.marca, looseCodeKey(e.prodfabr), e.un, plainNumber(e.valor));
        });
        return out;
    }

    QString csv(const QByteArray &bytes)
    {
        store.folder.write(u"lista.csv"_s, bytes);
        return store.folder.file(u"lista.csv"_s);
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 5), QTime(14, 30, 0)) };
    TestStore store;
    ScriptedPrompts prompts;
    PriceList flow { prompts, store.dm.Banco() };
};

const QStringList FixtureList { u"2|BOSCH|0986b00020|PC|42.9"_s, u"3|Bosch|0986494|JG|189.5"_s,
    u"4|NGK|bkr6e11|PC|18.75"_s, u"6|Gates|5419xs|PC|97"_s, u"7|Cofap|gp32170a|PC|310"_s };

} // namespace

TEST_F(PriceListTest, ImportsListsSavedByRealSpreadsheetProgramsWhateverTheirTitlesEncodingAndNumbers)
{
    struct Case {
        QString file;
        QStringList entries;
    };
    QStringList openpyxl = FixtureList;
    openpyxl[3] = u"6|Gates|5419|PC|97"_s; // a code typed as a number
    const Case cases[] = {
        { u"tabela_precos_libreoffice.xlsx"_s, FixtureList },
        { u"tabela_precos_libreoffice_1252.csv"_s, FixtureList }, // ";", decimal comma, Windows-1252
        { u"tabela_precos_libreoffice_ingles.csv"_s, FixtureList }, // ",", decimal point, UTF-8
        { u"tabela_precos_openpyxl.xlsx"_s, openpyxl },
    };
    for (const Case &c : cases) {
        prompts.clear();
        EXPECT_TRUE(flow.importFile(fixturePath(c.file)))
            << c.file.toStdString() << prompts.boxes().join(u'\n').toStdString();
        EXPECT_EQ(stored(), c.entries) << c.file.toStdString();
        EXPECT_EQ(prompts.boxes(),
            QStringList { u"[Atenção] Tabela de preços importada de \"%1\": 5 itens."_s.arg(c.file) });
        const std::optional<PriceListSource> source = priceListSource(store.dm.Banco());
        ASSERT_TRUE(source);
        EXPECT_EQ(source->arquivo, c.file);
        EXPECT_EQ(source->importada, clock.now());
        EXPECT_EQ(source->itens, 5);
    }
    // Accents and blanks kept as written; the description of the Windows-1252 file decoded.
    flow.importFile(fixturePath(u"tabela_precos_libreoffice_1252.csv"_s));
    QStringList descriptions;
    forEachPriceListEntry(store.dm.Banco(), [&](const PriceListEntry &e) { descriptions << e.descricao; });
    EXPECT_EQ(descriptions.first(), u"Filtro de óleo"_s);
    EXPECT_EQ(descriptions.last(), u"Amortecedor ÇÃO"_s);
}

TEST_F(PriceListTest, AFileWithAFaultIsRefusedNamingItsRowAndTheListBeforeStays)
{
    ASSERT_TRUE(flow.importFile(fixturePath(u"tabela_precos_libreoffice.xlsx"_s)));
    struct Case {
        QByteArray file;
        QString message;
    };
    const Case cases[] = {
        { "MARCA;PRODFABR;UN\nBOSCH;F1;PC\n",
            u"A primeira linha deve dar os títulos das colunas MARCA, PRODFABR e VALOR (DESCRICAO e UN são "
            "opcionais); falta: VALOR."_s },
        { "Valor;Marca;Código\n1;X;Y\n",
            u"A primeira linha deve dar os títulos das colunas MARCA, PRODFABR e VALOR (DESCRICAO e UN são "
            "opcionais); falta: PRODFABR."_s },
        { "MARCA;PRODFABR;VALOR;marca\n", u"Linha 1: o título MARCA aparece nas colunas A e D."_s },
        { "MARCA;PRODFABR;VALOR\nBOSCH;F1;12,5\nNGK;F2;abc\n",
            u"Linha 3, coluna C (VALOR): \"abc\" não é um número."_s },
        { "MARCA;PRODFABR;VALOR\nBOSCH;F1;1.500\n",
            u"Linha 2, coluna C (VALOR): \"1.500\" não é um número."_s },
        { "MARCA;PRODFABR;VALOR\nBOSCH;F1;0\n",
            u"Linha 2, coluna C (VALOR): o valor deve ser maior que zero."_s },
        { "MARCA;PRODFABR;VALOR\nBOSCH;F1;\n", u"Linha 2, coluna C (VALOR): falta o valor."_s },
        { "VALOR;PRODFABR;MARCA\n3;F1; \n", u"Linha 2, coluna C (MARCA): falta a marca."_s },
        { "MARCA;PRODFABR;VALOR\nBOSCH;--;3\n",
            u"Linha 2, coluna B (PRODFABR): o código \"--\" não tem letras nem números."_s },
        { "MARCA;PRODFABR;VALOR;UN\nBOSCH;F-1;3;PC\nbosch;f-1;4;PC\n",
            u"Linha 3, coluna B (PRODFABR): a marca bosch com o código f-1 já está na linha 2 com outro "
            u"valor "
            "ou outra unidade."_s },
        { "MARCA;PRODFABR;VALOR\n\n;;\n",
            u"O arquivo \"lista.csv\" não tem nenhum item abaixo da linha de títulos."_s },
        { "", u"O arquivo \"lista.csv\" não tem nenhum item abaixo da linha de títulos."_s },
    };
    for (const Case &c : cases) {
        prompts.clear();
        const QString path = c.file.isEmpty() ? csv("MARCA;PRODFABR;VALOR") : csv(c.file);
        EXPECT_FALSE(flow.importFile(path)) << c.file.constData();
        EXPECT_EQ(prompts.boxes(), QStringList { u"[Erro] "_s + c.message + u" Nada foi alterado."_s })
            << c.file.constData();
    }
    EXPECT_EQ(stored(), FixtureList);
    EXPECT_EQ(priceListSource(store.dm.Banco())->arquivo, u"tabela_precos_libreoffice.xlsx"_s);

    // The same part twice with the same price and unit is taken once.
    EXPECT_TRUE(
        flow.importFile(csv("MARCA;PRODFABR;VALOR;UN\nBOSCH;F-1;3;PC\nbosch;f-1;3,0;pc\nNGK;F-1;2;\n")));
    EXPECT_EQ(stored(), (QStringList { u"2|BOSCH|f1|PC|3"_s, u"4|NGK|f1||2"_s }));
}

TEST_F(PriceListTest, FilesThatAreNoListAreRefusedWithTheirName)
{
    store.folder.write(
        u"antiga.xls"_s, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(500, '\0'));
    store.folder.write(u"quebrada.xlsx"_s, "PK\x03\x04 damaged");
    EXPECT_FALSE(flow.importFile(store.folder.file(u"antiga.xls"_s)));
    EXPECT_FALSE(flow.importFile(store.folder.file(u"quebrada.xlsx"_s)));
    EXPECT_FALSE(flow.importFile(store.folder.file(u"nenhum.csv"_s)));
    const QStringList boxes = prompts.boxes();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_TRUE(boxes[0].contains(u"antiga.xls\": é uma planilha no formato antigo do Excel (.xls)"_s))
        << boxes[0].toStdString();
    EXPECT_TRUE(boxes[1].startsWith(u"[Erro] Não foi possível ler a planilha"_s)) << boxes[1].toStdString();
    EXPECT_TRUE(boxes[2].contains(u"nenhum.csv"_s)) << boxes[2].toStdString();
    for (const QString &box : boxes)
        EXPECT_TRUE(box.endsWith(u" Nada foi alterado."_s)) << box.toStdString();
    EXPECT_FALSE(priceListSource(store.dm.Banco()));
}

TEST_F(PriceListTest, CommandLineImportsListsAndClearsTheList)
{
    store.folder.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    const QString path = csv("MARCA;PRODFABR;DESCRICAO;UN;VALOR\nBOSCH;0986-B;\"óleo; 5W30\";PC;12,5\n");
    const CliRun imported = runCliIn(store.folder, { u"pricelist"_s, u"import"_s, path });
    EXPECT_EQ(imported.status, 0);
    EXPECT_EQ(
        imported.out, QStringList { u"[Atenção] Tabela de preços importada de \"lista.csv\": 1 item."_s });
    const CliRun listed = runCliIn(store.folder, { u"pricelist"_s, u"list"_s });
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out,
        (QStringList { u"lista.csv|2020-06-05 14:30|1"_s, u"2|BOSCH|0986-B|óleo; 5W30|PC|12.5"_s }));

    EXPECT_EQ(runCliIn(store.folder, { u"pricelist"_s, u"import"_s, csv("MARCA;VALOR\n") }).status, 1);
    EXPECT_EQ(runCliIn(store.folder, { u"pricelist"_s, u"list"_s }).out.size(), 2);

    const CliRun declined = runCliIn(store.folder, { u"pricelist"_s, u"clear"_s });
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(declined.out,
        QStringList { u"[Atenção] Apagar a tabela de preços importada de \"lista.csv\" em %1 (1 item)?"_s.arg(
            dateTimeText(clock.now())) });
    const CliRun cleared = runCliIn(store.folder, { u"--yes"_s, u"pricelist"_s, u"clear"_s });
    EXPECT_EQ(cleared.status, 0);
    EXPECT_EQ(runCliIn(store.folder, { u"pricelist"_s, u"list"_s }).out,
        QStringList { u"[Atenção] Não há tabela de preços."_s });
    EXPECT_FALSE(priceListSource(store.dm.Banco()));
}

TEST_F(PriceListTest, APartIsFoundByItsCodeAsWrittenBeforeOneWrittenAnotherWay)
{
    ASSERT_TRUE(flow.importFile(csv("MARCA;PRODFABR;VALOR;UN\n"
                                    "BOSCH;0986B00020;42,9;PC\n"
                                    "BOSCH;0986.B00.021;10;PC\n"
                                    "BOSCH;0986-B00-021;10;pc\n"
                                    "NGK;BKR6E-11;18,75;PC\n"
                                    "NGK;BKR6E/11;19;PC\n")));
    struct Case {
        QString marca;
        QString prodfabr;
        QString found; // line and how, or nothing
    };
    const Case cases[] = {
        { u"BOSCH"_s, u"0986b00020"_s, u"2 exato"_s },
        { u"bosch"_s, u"0986 B00 020"_s, u"2 solto"_s },
        { u"Bosch"_s, u"0986-B00-021"_s, u"4 exato"_s },
        { u"BOSCH"_s, u"0986 B00 021"_s, u"3 solto"_s }, // two ways of writing it, one price
        { u"NGK"_s, u"bkr6e/11"_s, u"6 exato"_s },
        { u"NGK"_s, u"BKR6E 11"_s, QString() }, // two prices: the list does not say which
        { u"Outra"_s, u"0986B00020"_s, QString() },
        { u"BOSCH"_s, u"--"_s, QString() },
    };
    PriceListLookup lookup(store.dm.Banco());
    for (const Case &c : cases) {
        const std::optional<PriceListMatch> m = lookup.find(c.marca, c.prodfabr);
        const QString found = m
            ? u"%1 %2"_s.arg(m->entry.linha).arg(m->match == CodeMatch::Exact ? u"exato"_s : u"solto"_s)
            : QString();
        EXPECT_EQ(found, c.found) << c.prodfabr.toStdString();
    }
    clearPriceList(store.dm.Banco());
    EXPECT_FALSE(PriceListLookup(store.dm.Banco()).find(u"BOSCH"_s, u"0986B00020"_s));
}
