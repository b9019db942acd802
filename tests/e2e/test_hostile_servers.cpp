// The exchanges of the windows and of the command-line tool against servers
// that misbehave on purpose: each ends with a clear message within its
// limits, stores nothing, and the next exchange of the same window works.
#include "exchange/http_client.h"
#include "orders/order_fixture.h"
#include "orders/released_orders.h"
#include "quotations/quotation_fixture.h"
#include "quotations/released_quotations.h"
#include "store/schema.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

QByteArray okAnswer(const QString &body)
{
    const QByteArray bytes = body.toLatin1();
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(bytes.size()) + "\r\n\r\n" + bytes;
}

struct Hostile {
    const char *name;
    RawServer::Reply reply;
    QString message;
};

// The servers a supplier does not control, and what he is told.
QList<Hostile> hostileServers(bool shortTimeOuts)
{
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    QList<Hostile> all {
        { "redirect to itself",
            RawServer::answer(
                "HTTP/1.1 302 Found\r\nLocation: /net/getcotalib.php\r\nContent-Length: 0\r\n\r\n"),
            u"HTTP/1.1 302 Found"_s },
        { "a gigabyte", RawServer::stream("HTTP/1.1 200 OK\r\n\r\n", QByteArray(1024 * 1024, 'x'), 1024),
            shortTimeOuts ? u"A resposta do servidor excede o limite de 1048576 bytes e foi recusada."_s
                          : u"A resposta do servidor excede o limite de 67108864 bytes e foi recusada."_s },
        { "a megabyte of headers",
            RawServer::stream(
                "HTTP/1.1 200 OK\r\n", "X-Linha: " + QByteArray(53, 'a') + "\r\n", 16 * 1024, "\r\n"),
            u"O cabeçalho da resposta do servidor excede o limite de 65536 bytes e foi recusado."_s },
        { "bad chunk size", RawServer::answer(chunked + "zz\r\nabc\r\n0\r\n\r\n"),
            u"Resposta inválida do servidor: bad chunk"_s },
        { "reset inside the body",
            RawServer::answerAndReset("HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n" + QByteArray(50, 'x')),
            u"Socket Error # 10054\r\nA conexão foi interrompida pelo servidor."_s },
    };
    if (shortTimeOuts) {
        all << Hostile { "never answers", RawServer::neverAnswer(),
            u"Socket Error # 10060\r\nConnection timed out."_s };
        // Fast enough for the least rate, too slow for the deadline.
        all << Hostile { "a trickle",
            RawServer::trickle("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", QByteArray(16, 'x'), 2),
            u"O servidor não terminou a resposta em 0,6 segundos; ela foi abandonada."_s };
        all << Hostile { "a byte now and then",
            RawServer::trickle("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "x", 50),
            u"A resposta do servidor chega devagar demais (menos de 64 bytes em 0,3 segundos); ela foi "
            "abandonada."_s };
    }
    return all;
}

// One exchange of a window, on a store that holds the quotation C1 and the
// order P1, both waiting for their items.
struct Exchange {
    const char *name;
    bool asks; // asks before it sends
    QString goodAnswer;
    std::function<bool(Prompts &, TDm &, Connectivity &, HttpTransport &, const QString &)> run;
};

QList<Exchange> exchanges()
{
    const auto quotations = [](auto call) {
        return [call](Prompts &p, TDm &dm, Connectivity &net, HttpTransport &http, const QString &servidor) {
            ReleasedQuotations flow(p, dm, net, http, servidor);
            flow.setLogin({ u"FORN"_s, u"SENHA"_s });
            return flow.openTables() && locateCotacao(dm.CotaLiberada(), u"C1"_s) && call(flow);
        };
    };
    const auto orders = [](auto call) {
        return [call](Prompts &p, TDm &dm, Connectivity &net, HttpTransport &http, const QString &servidor) {
            ReleasedOrders flow(p, dm, net, http, servidor);
            flow.setLogin({ u"FORN"_s, u"SENHA"_s });
            return flow.openTables() && dm.gotoOrder(u"P1"_s) && call(flow);
        };
    };
    return {
        { "quotation list", false, u"05/07/2020|C2|17:00|ABERTA|01/07/2020\r\n"_s,
            quotations([](ReleasedQuotations &f) { return f.fetchList(); }) },
        { "quotation items", true, itemLine(u"C1"_s, u"X1"_s) + u"\r\nBAIXADA COM SUCESSO\r\n"_s,
            quotations([](ReleasedQuotations &f) { return f.downloadItems(); }) },
        { "order list", false, u"P2|Liberado|01/07/2020|08:00\r\n"_s,
            orders([](ReleasedOrders &f) { return f.fetchList(); }) },
        { "order items", true, orderItemLine(u"P1"_s, u"X1"_s) + u"\r\nBAIXADO COM SUCESSO\r\n"_s,
            orders([](ReleasedOrders &f) { return f.downloadItems(); }) },
    };
}

// Every row of the four tables.
QStringList everything(TestStore &store)
{
    QStringList rows;
    for (const QString &table :
        { u"CotaLiberadas"_s, u"CotacaoFornc"_s, u"PedidosLiberados"_s, u"PedidoFornc"_s })
        rows << table << store.rows(u"SELECT * FROM %1 ORDER BY rowid"_s.arg(table));
    return rows;
}

void addOrder(TestStore &store, const QString &pedido)
{
    store.exec(
        u"INSERT INTO PedidosLiberados (Pedido, TipoStatus, DataLiberado) VALUES (?, 'Liberado', '2020-06-20')"_s,
        { pedido });
}

} // namespace

TEST(HostileServerRoad, EveryExchangeEndsClearlyStoresNothingAndTheNextOneWorks)
{
    FakeNet net;
    for (const Hostile &hostile : hostileServers(true)) {
        for (const Exchange &exchange : exchanges()) {
            SCOPED_TRACE(std::string(hostile.name) + " / " + exchange.name);
            TestStore store;
            store.addQuotation(u"C1"_s, u"ABERTA"_s);
            addOrder(store, u"P1"_s);
            const QStringList before = everything(store);

            // The hostile answer first; the same window's next request gets a good one.
            RawServer server({ hostile.reply, RawServer::answer(okAnswer(exchange.goodAnswer)) });
            HttpClient client;
            client.setIdleTimeout(150ms);
            client.setAnswerTimeout(600ms);
            client.setLowSpeedLimit(64, 300ms);
            client.setBodyLimit(1024 * 1024);
            ScriptedPrompts prompts;
            prompts.answers = { true, true };
            EXPECT_FALSE(exchange.run(prompts, store.dm, net, client, server.url({})));
            EXPECT_EQ(prompts.boxes().value(exchange.asks ? 1 : 0),
                u"[%1] %2"_s.arg(programTitle(), errorBoxText(hostile.message)));
            EXPECT_EQ(prompts.boxes().size(), exchange.asks ? 2 : 1);
            EXPECT_EQ(prompts.logsDiscarded, 1); // the log window goes unseen
            EXPECT_EQ(everything(store), before);
            EXPECT_EQ(server.requests().size(), 1); // nothing followed, nothing repeated

            prompts.clear();
            EXPECT_TRUE(exchange.run(prompts, store.dm, net, client, server.url({})));
            EXPECT_NE(everything(store), before);
        }
    }
}

TEST(HostileServerRoad, TheCommandLineToolSaysWhatWentWrongAndStaysUsable)
{
    for (const Hostile &hostile : hostileServers(false)) {
        SCOPED_TRACE(hostile.name);
        RawServer server(
            { hostile.reply, RawServer::answer(okAnswer(u"05/07/2020|C2|17:00|ABERTA|01/07/2020\r\n"_s)) });
        TempFolder dir;
        dir.write(u"server.new"_s, server.url({}).toLatin1() + "\r\n");
        createDatabase(dir.file(u"CotaKelvo.new"_s));
        const QStringList fetch { u"--login"_s, u"FORN"_s, u"--password"_s, u"SENHA"_s, u"quotations"_s,
            u"fetch"_s };

        const CliRun failed = runCliIn(dir, fetch);
        EXPECT_EQ(failed.status, 1);
        // One line: the box's line break printed as a blank.
        EXPECT_EQ(failed.out,
            QStringList {
                u"[%1] %2"_s.arg(programTitle(), errorBoxText(hostile.message).replace(u"\r\n"_s, u" "_s)) });
        EXPECT_TRUE(runCliIn(dir, { u"status"_s }).out.contains(u"CotaLiberadas: 0"_s));

        EXPECT_EQ(runCliIn(dir, fetch).status, 0);
        EXPECT_TRUE(runCliIn(dir, { u"status"_s }).out.contains(u"CotaLiberadas: 1"_s));
    }
}

TEST(HostileServerRoad, LoginsThatCouldBreakTheRequestStayInsideItsFirstLine)
{
    RawServer server({ RawServer::answer(okAnswer(u"*Usuário ou senha inválidos"_s)) });
    TestStore store;
    FakeNet net;
    HttpClient client;
    ScriptedPrompts prompts;
    ReleasedQuotations flow(prompts, store.dm, net, client, server.url({}));
    // CR and LF would start a header of their own, "&" a parameter and "#"
    // would end the query: each goes encoded inside its value.
    flow.setLogin({ u"JOÃO\r\nX-Injetado: 1\r\n&perfil=admin"_s, u"Ωμέγα日本#resto"_s });
    ASSERT_TRUE(flow.openTables());
    EXPECT_FALSE(flow.fetchList());

    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray request = server.requests().first().bytes;
    EXPECT_EQ(QString::fromLatin1(request.left(request.indexOf("\r\n"))),
        u"GET /net/getcotalib.php?user=JO%C3O%0D%0AX-Injetado%3A%201%0D%0A%26perfil%3Dadmin"
        "&pass=%3F%3F%3F%3F%3F%3F%3F%23resto HTTP/1.1"_s);
    EXPECT_FALSE(request.contains("\r\nX-Injetado"));
    EXPECT_EQ(request.count("\r\n"), 5 + 1); // request line, four headers, the empty line
    EXPECT_EQ(prompts.boxes(),
        QStringList {
            u"[Atenção] Nenhuma cotação liberada  para você... Erro : *Usuário ou senha inválidos"_s });
    EXPECT_TRUE(store.released().isEmpty());
}
