#include "quotation_fixture.h"
#include "quotations/released_quotations.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Server = u"http://127.0.0.1:1/kelvo"_s;
const QStringList LogOk { u"log: Internet - ok"_s, u"log: Servidor do kelvo - ok "_s };

class ReleasedQuotationsTest : public ::testing::Test {
protected:
    ReleasedQuotationsTest()
        : flow(prompts, store.dm, net, server, Server)
    {
        flow.setLogin({ u"FORN"_s, u"SEG&REDO"_s });
        flow.openTables();
    }

    // Selects the quotation in the list, as a click in the grid does.
    void select(const QString &cotacao)
    {
        ASSERT_TRUE(store.dm.CotaLiberada().locate(u"Cotacao"_s, { cotacao }));
    }

    QStringList items()
    {
        return store.rows(u"SELECT CONTATO, COTACAO, DATA, PRODUTO, APLICACAO, QTDE, VALOR, SIMILARES, OBS, "
                          "QTDELOJA2 FROM CotacaoFornc ORDER BY PRODUTO"_s);
    }

    TestStore store;
    ScriptedPrompts prompts;
    FakeNet net;
    ScriptedTransport server;
    ReleasedQuotations flow;
};

} // namespace

TEST_F(ReleasedQuotationsTest, VerificarStoresTheListAndShowsTheLog)
{
    server.answers = { u"05/06/2020|C1|14:30|ABERTA|01/06/2020\r\n"
                       "  |ignorada|||\r\n"
                       "07/06/2020|C2||ABERTA|\r\n"_s };
    EXPECT_TRUE(flow.fetchList());
    EXPECT_EQ(server.addresses, QStringList { Server + u"/net/getcotalib.php?user=FORN&pass=SEG%26REDO"_s });
    EXPECT_EQ(store.released(),
        (QStringList { u"C1|ABERTA|2020-06-05|14:30:00|2020-06-01"_s, u"C2|ABERTA|2020-06-07|~|~"_s }));
    EXPECT_EQ(prompts.transcript(), LogOk);

    // The second time every listed quotation is known, in any letter case.
    prompts.clear();
    server.answers = { u"05/06/2020|C1|14:30|ABERTA|01/06/2020\r\n07/06/2020|c2|09:00|ABERTA|\r\n"_s };
    EXPECT_TRUE(flow.fetchList());
    EXPECT_EQ(prompts.transcript(),
        (QStringList {
             u"[Atenção] A cotaçao : C1 já está no seu banco, verifique se o itens já foram baixado..."_s,
             u"[Atenção] A cotaçao : c2 já está no seu banco, verifique se o itens já foram baixado..."_s }
            + LogOk));
    EXPECT_EQ(store.released().size(), 2);
}

// A window may leave the list filtered: the check still sees every stored
// quotation, and the list ends on the last quotation of the answer.
TEST_F(ReleasedQuotationsTest, VerificarChecksEveryStoredQuotationWhateverTheListShows)
{
    store.addQuotation(u"C1"_s, u"ABERTA"_s);
    Table &lib = store.dm.CotaLiberada();
    lib.close();
    lib.setFilter(u"TipoStatus = ?"_s, { u"Baixada"_s });
    lib.setFiltered(true);
    lib.open();
    server.answers
        = { u"05/06/2020|c1|14:30|ABERTA|\r\n07/06/2020|C2||Baixada|\r\n07/06/2020|C3||Baixada|\r\n"_s };
    EXPECT_TRUE(flow.fetchList());
    EXPECT_EQ(prompts.boxes(),
        QStringList {
            u"[Atenção] A cotaçao : c1 já está no seu banco, verifique se o itens já foram baixado..."_s });
    EXPECT_EQ(store.released().size(), 3);
    EXPECT_EQ(TestStore::column(lib, u"Cotacao"_s), (QStringList { u"C2"_s, u"C3"_s }));
    EXPECT_EQ(lib.asString(u"Cotacao"_s), u"C3");
}

TEST_F(ReleasedQuotationsTest, VerificarWithAnEmptyListAddsNothing)
{
    server.answers = { QString() };
    EXPECT_TRUE(flow.fetchList());
    EXPECT_TRUE(store.released().isEmpty());
    EXPECT_EQ(prompts.transcript(), LogOk);
}

TEST_F(ReleasedQuotationsTest, VerificarRefusalIsShownWithoutTheLog)
{
    // Blanks around the marker are stripped for this script; the text shown is the answer as received.
    server.answers = { u" *usuário bloqueado\r\n"_s };
    EXPECT_FALSE(flow.fetchList());
    EXPECT_EQ(prompts.transcript(),
        QStringList { u"[Atenção] Nenhuma cotação liberada  para você... Erro :  *usuário bloqueado\r\n"_s });
    EXPECT_EQ(prompts.logsDiscarded, 1);
    EXPECT_TRUE(store.released().isEmpty());
}

TEST_F(ReleasedQuotationsTest, VerificarStopsAtABadLineKeepingTheRowsBefore)
{
    const QString bad[] = { u"31/02/2020|C2|10:00|ABERTA|"_s, u"05/06/2020|C2|10h|ABERTA|"_s,
        u"05/06/2020|C2|10:00|ABERTA"_s };
    for (const QString &line : bad) {
        TestStore fresh;
        ScriptedPrompts shown;
        ScriptedTransport answers;
        answers.answers
            = { u"05/06/2020|C1|14:30|ABERTA|\r\n"_s + line + u"\r\n05/06/2020|C3|10:00|ABERTA|\r\n"_s };
        ReleasedQuotations f(shown, fresh.dm, net, answers, Server);
        f.openTables();
        EXPECT_FALSE(f.fetchList());
        EXPECT_EQ(fresh.released(), QStringList { u"C1|ABERTA|2020-06-05|14:30:00|~"_s })
            << line.toStdString();
        ASSERT_EQ(shown.boxes().size(), 1);
        EXPECT_EQ(shown.shown[0].kind, u"error"_s);
        EXPECT_EQ(shown.logsDiscarded, 1);
        EXPECT_FALSE(fresh.dm.CotaLiberada().isEditing());
    }
}

TEST_F(ReleasedQuotationsTest, FailedRequestAndChecksStoreNothing)
{
    server.failure = u"Socket Error # 10061\r\nConnection refused."_s;
    EXPECT_FALSE(flow.fetchList());
    EXPECT_EQ(
        prompts.transcript(), QStringList { u"[CotaKelvo] Socket Error # 10061\r\nConnection refused."_s });

    prompts.clear();
    net.connected = false;
    EXPECT_FALSE(flow.fetchList());
    EXPECT_EQ(prompts.transcript(), QStringList { u"log: Problema com sua internet, verifique"_s });
}

TEST_F(ReleasedQuotationsTest, BaixarRefusesWhatIsNotOpen)
{
    // An empty list: nothing at all happens.
    EXPECT_FALSE(flow.downloadItems());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(store.dm.podeIcota());

    for (const QString &status : { u"Baixada"_s, u"Enviar"_s, u"Enviada"_s }) {
        store.addQuotation(u"C-"_s + status, status);
        select(u"C-"_s + status);
        prompts.clear();
        EXPECT_FALSE(flow.downloadItems());
        EXPECT_EQ(prompts.transcript(),
            QStringList { u"[Erro] A Cotação : C-"_s + status
                + u" já foi baixada, Enviada ou pronta para envio, operação cancelada.."_s });
    }
    EXPECT_TRUE(server.addresses.isEmpty());

    // "No" to the question stops before any check.
    store.addQuotation(u"C1"_s, u"aberta"_s);
    select(u"C1"_s);
    prompts.clear();
    EXPECT_FALSE(flow.downloadItems());
    EXPECT_EQ(
        prompts.transcript(), QStringList { u"[Atenção] Dejesa baixar os itens da cotação : C1 ??????"_s });
    EXPECT_EQ(prompts.logsCreated, 0);
}

TEST_F(ReleasedQuotationsTest, BaixarStoresTheItemsAndMarksTheQuotation)
{
    store.addQuotation(u"C1"_s, u"aberta"_s);
    store.addQuotation(u"C2"_s, u"ABERTA"_s);
    select(u"C1"_s);
    prompts.answers = { true };
    server.answers = { itemLine(u"C1"_s, u"P2"_s, { { 7, u"linha 1\rlinha 2"_s }, { 10, u"ignorado"_s } })
        + u"\r\n"_s + itemLine(u"C1"_s, u"P1"_s, { { 21, u"SIM-A"_s } }) + u"\r\n"_s
        + itemLine(u"C1"_s, u"P1"_s, { { 21, u"SIM-B"_s }, { 0, u"  ACME "_s } }) + u"\r\n"_s
        + u"BAIXADA COM SUCESSO\r\n"_s };
    EXPECT_TRUE(flow.downloadItems());
    EXPECT_EQ(server.addresses,
        QStringList { Server + u"/net/getcotaforn.php?user=FORN&pass=SEG%26REDO&cota=C1"_s });
    EXPECT_EQ(items(),
        (QStringList { u"ACME|C1|2020-06-01|P1|Gol|10.5|~|SIM-B|~|6.5"_s,
            u"ACME|C1|2020-06-01|P2|linha 1 linha 2|10.5|~|~|~|6.5"_s }));
    EXPECT_EQ(prompts.transcript(),
        (QStringList { u"[Atenção] Dejesa baixar os itens da cotação : C1 ??????"_s,
             u"[Atenção] BAIXADA COM SUCESSO"_s }
            + LogOk));
    EXPECT_EQ(store.status(u"C1"_s), u"Baixada"_s);
    EXPECT_EQ(store.status(u"C2"_s), u"ABERTA"_s);
}

TEST_F(ReleasedQuotationsTest, RepeatedDownloadKeepsThePrice)
{
    store.addQuotation(u"C1"_s, u"ABERTA"_s);
    store.addItem({ .cotacao = u"C1"_s,
        .produto = u"P1"_s,
        .marca = u"BOSCH"_s,
        .valor = 12.5,
        .data = QDate(2020, 6, 1),
        .contato = u"ACME"_s });
    store.exec(u"UPDATE CotacaoFornc SET SIMILARES = 'velho', OBS = 'velha'"_s);
    flow.openTables();
    prompts.answers = { true };
    server.answers
        = { itemLine(u"c1"_s, u"p1"_s, { { 21, u"novo"_s }, { 22, u"nova"_s }, { 2, u"1/6/2020"_s } })
              + u"\r\nBAIXADA COM SUCESSO"_s };
    EXPECT_TRUE(flow.downloadItems());
    // Found ignoring case: CONTATO, COTACAO and DATA keep their stored values, PRODUTO is rewritten.
    EXPECT_EQ(items(), QStringList { u"ACME|C1|2020-06-01|p1|Gol|10.5|12.5|novo|nova|6.5"_s });
}

TEST_F(ReleasedQuotationsTest, StatusLineDecidesTheOutcome)
{
    const QString success = u"[Atenção] BAIXADA COM SUCESSO"_s;
    const QString failure = u"[Erro] Alguma coisa aconteceu, tente novamente"_s;
    struct Case {
        QString answer;
        int items;
        QString box;
    } cases[] = {
        { u"BAIXADA COM SUCESSO"_s, 0, success },
        { QString(), 0, failure },
        { itemLine(u"C1"_s, u"P1"_s) + u"\r\nbaixada com sucesso\r\n"_s, 1, failure },
        // A blank before the marker: read as the status line, not as a refusal.
        { u" *negado"_s, 0, failure },
        // An empty last line: the success line is read as an item line, which is too short.
        { itemLine(u"C1"_s, u"P1"_s) + u"\r\nBAIXADA COM SUCESSO\r\n\r\n"_s, 1,
            u"[CotaKelvo] A linha tem 1 campo(s), e são necessários 26."_s },
    };
    for (const Case &c : cases) {
        TestStore fresh;
        fresh.addQuotation(u"C1"_s, u"ABERTA"_s);
        ScriptedPrompts shown;
        shown.answers = { true };
        ScriptedTransport answers;
        answers.answers = { c.answer };
        ReleasedQuotations f(shown, fresh.dm, net, answers, Server);
        f.openTables();
        const bool ok = c.box == success;
        EXPECT_EQ(f.downloadItems(), ok) << c.answer.toStdString();
        EXPECT_EQ(fresh.status(u"C1"_s), ok ? u"Baixada"_s : u"ABERTA"_s);
        EXPECT_EQ(fresh.rows(u"SELECT PRODUTO FROM CotacaoFornc"_s).size(), c.items);
        EXPECT_EQ(shown.boxes().last(), c.box) << shown.boxes().last().toStdString();
        // The log closes every outcome but the error box, which discards it unseen.
        EXPECT_EQ(shown.shown.last().kind, c.box.startsWith(u"[CotaKelvo]"_s) ? u"error"_s : u"log"_s);
    }
}

TEST_F(ReleasedQuotationsTest, BaixarRefusalAndBadItemLine)
{
    store.addQuotation(u"C1"_s, u"ABERTA"_s);
    flow.openTables();
    prompts.answers = { true, true };
    server.answers = { u"*cotação encerrada"_s,
        itemLine(u"C1"_s, u"P1"_s) + u"\r\n"_s + itemLine(u"C1"_s, u"P2"_s, { { 17, u"4.5"_s } }) + u"\r\n"_s
            + itemLine(u"C1"_s, u"P3"_s) + u"\r\nBAIXADA COM SUCESSO\r\n"_s };
    EXPECT_FALSE(flow.downloadItems());
    EXPECT_EQ(prompts.boxes().last(),
        u"[Atenção] Nenhuma cotação liberada  para você... Erro : *cotação encerrada"_s);
    EXPECT_EQ(prompts.logsDiscarded, 1);

    prompts.clear();
    EXPECT_FALSE(flow.downloadItems());
    EXPECT_EQ(prompts.boxes().last(), u"[CotaKelvo] '4.5' não é um número válido."_s);
    EXPECT_EQ(store.rows(u"SELECT PRODUTO FROM CotacaoFornc"_s), QStringList { u"P1"_s });
    EXPECT_EQ(store.status(u"C1"_s), u"ABERTA"_s);
    EXPECT_FALSE(store.dm.CotaFornec().isOpen()); // left closed, as the next window finds it
}
