#include "exchange/exchange_frame.h"
#include "exchange/http_client.h"
#include "exchange/http_transport.h"
#include "exchange/multipart_form.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "support/scripted_transport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QString Server = QStringLiteral("http://127.0.0.1:1");

} // namespace

TEST(ExchangeFrame, FailedChecksShowTheLogAndStop)
{
    struct Case {
        bool connected;
        QString problem;
        QStringList log;
    } cases[] = {
        { false, QString(), { QStringLiteral("log: Problema com sua internet, verifique") } },
        { true, QStringLiteral("x"),
            { QStringLiteral("log: Internet - ok"),
                QStringLiteral("log: O servidor do kelvo está com problemas...") } },
    };
    for (const Case &c : cases) {
        ScriptedPrompts prompts;
        FakeNet net;
        net.connected = c.connected;
        net.problem = c.problem;
        ExchangeFrame frame(prompts, net, Server);
        EXPECT_FALSE(frame.begin());
        EXPECT_EQ(prompts.transcript(), c.log);
        EXPECT_EQ(prompts.logsDiscarded, 1);
    }
}

TEST(ExchangeFrame, SuccessfulExchangeShowsFourLinesAtTheEnd)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    const auto answer = frame.request([] { return QStringLiteral("resposta"); });
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, QStringLiteral("resposta"));
    frame.log().addLine(QStringLiteral("linha do servidor"));
    EXPECT_TRUE(prompts.shown.isEmpty());
    frame.finish();
    EXPECT_EQ(prompts.transcript(),
        (QStringList { QStringLiteral("log: Internet - ok"), QStringLiteral("log: Servidor do kelvo - ok "),
            QStringLiteral("log: linha do servidor") }));
}

TEST(ExchangeFrame, FailedRequestShowsErrorBoxAndDiscardsLogUnseen)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    const auto answer = frame.request([]() -> QString { throw std::runtime_error("Unknown Protocol"); });
    EXPECT_FALSE(answer);
    EXPECT_EQ(prompts.transcript(), QStringList { QStringLiteral("[CotaKelvo] Unknown Protocol.") });
    EXPECT_EQ(prompts.logsDiscarded, 1);
}

TEST(ExchangeFrame, RefusalShowsMessageWithoutLog)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    frame.refuse(QStringLiteral("Atenção"), QStringLiteral("recusado"));
    EXPECT_EQ(prompts.transcript(), QStringList { QStringLiteral("[Atenção] recusado") });
    EXPECT_EQ(prompts.logsDiscarded, 1);
}

TEST(ExchangeFrame, WindowsRepaintWhileARequestWaitsAndTheHookGoesWithIt)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ScriptedTransport http;
    http.answers = { QStringLiteral("resposta") };
    http.waits = 3;
    {
        ExchangeFrame frame(prompts, net, Server);
        ASSERT_TRUE(frame.begin());
        EXPECT_EQ(frame.get(http, Server + QStringLiteral("/net/a.php")), QStringLiteral("resposta"));
        EXPECT_FALSE(http.waitHook);
        http.failure = QStringLiteral("Connection Closed Gracefully.");
        EXPECT_FALSE(frame.post(http, Server + QStringLiteral("/net/b.php"), MultipartForm()));
        EXPECT_FALSE(http.waitHook);
    }
    EXPECT_EQ(prompts.keepAlives, 6);
    EXPECT_EQ(prompts.boxes(), QStringList { QStringLiteral("[CotaKelvo] Connection Closed Gracefully.") });
}

TEST(ExchangeFrame, StatusOtherThan2xxThroughTheWindowsClient)
{
    RawServer server({ RawServer::answer("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n") });
    ScriptedPrompts prompts;
    FakeNet net;
    HttpClient client;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    EXPECT_FALSE(frame.get(client, server.url(QStringLiteral("/net/getcotalib.php?user=A&pass=B"))));
    EXPECT_EQ(prompts.boxes(), QStringList { QStringLiteral("[CotaKelvo] HTTP/1.1 404 Not Found.") });
    EXPECT_EQ(prompts.logsDiscarded, 1);
}
