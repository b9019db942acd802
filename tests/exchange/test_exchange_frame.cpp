#include "exchange/exchange_frame.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class FakeNet final : public Connectivity {
public:
    bool connected = true;
    QString problem;
    bool IsConnected() override { return connected; }
    QString checkkelvo(const QString &) override { return problem; }
};

const QString Server = QStringLiteral("http://127.0.0.1:1");

} // namespace

TEST(ExchangeFrame, FailedChecksShowTheLogAndStop)
{
    struct Case {
        bool connected;
        QString problem;
        QStringList log;
    } cases[] = {
        {false, QString(), {QStringLiteral("log: Problema com sua internet, verifique")}},
        {true, QStringLiteral("x"),
         {QStringLiteral("log: Internet - ok"), QStringLiteral("log: O servidor do kelvo está com problemas...")}},
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
              (QStringList{QStringLiteral("log: Internet - ok"), QStringLiteral("log: Servidor do kelvo - ok "),
                           QStringLiteral("log: linha do servidor")}));
}

TEST(ExchangeFrame, FailedRequestShowsErrorBoxAndDiscardsLogUnseen)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    const auto answer = frame.request([]() -> QString { throw std::runtime_error("Unknown Protocol"); });
    EXPECT_FALSE(answer);
    EXPECT_EQ(prompts.transcript(), QStringList{QStringLiteral("[CotaKelvo] Unknown Protocol.")});
    EXPECT_EQ(prompts.logsDiscarded, 1);
}

TEST(ExchangeFrame, RefusalShowsMessageWithoutLog)
{
    ScriptedPrompts prompts;
    FakeNet net;
    ExchangeFrame frame(prompts, net, Server);
    ASSERT_TRUE(frame.begin());
    frame.refuse(QStringLiteral("Atenção"), QStringLiteral("recusado"));
    EXPECT_EQ(prompts.transcript(), QStringList{QStringLiteral("[Atenção] recusado")});
    EXPECT_EQ(prompts.logsDiscarded, 1);
}

#include "exchange/http_client.h"
#include "support/raw_server.h"

namespace {

class CountingPrompts final : public Prompts {
public:
    ScriptedPrompts inner;
    int waits = 0;
    void message(const QString &c, const QString &t, PromptIcon i) override { inner.message(c, t, i); }
    bool ask(const QString &c, const QString &t) override { return inner.ask(c, t); }
    void error(const QString &t) override { inner.error(t); }
    QString input(const QString &c, const QString &p, const QString &i) override { return inner.input(c, p, i); }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::unique_ptr<LogWindow> createLog() override { return inner.createLog(); }
    void previewReport(const PreparedReport &r) override { inner.previewReport(r); }
    void keepAlive() override { ++waits; }
};

} // namespace

TEST(ExchangeFrame, GetThroughTheWindowsClient)
{
    RawServer server({RawServer::neverAnswer(),
                      RawServer::answer("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")});
    CountingPrompts prompts;
    FakeNet net;
    HttpClient client;
    client.setIdleTimeout(std::chrono::milliseconds(300));
    {
        ExchangeFrame frame(prompts, net, Server);
        ASSERT_TRUE(frame.begin());
        EXPECT_FALSE(frame.get(client, server.url(QStringLiteral("/net/getcotalib.php?user=A&pass=B"))));
    }
    // The window repainted while the silent server was awaited.
    EXPECT_GT(prompts.waits, 0);
    ASSERT_EQ(prompts.inner.boxes().size(), 1);
    EXPECT_TRUE(prompts.inner.boxes().first().contains(QStringLiteral("10060")));
    {
        ExchangeFrame frame(prompts, net, Server);
        ASSERT_TRUE(frame.begin());
        EXPECT_FALSE(frame.get(client, server.url(QStringLiteral("/net/getcotalib.php?user=A&pass=B"))));
    }
    EXPECT_EQ(prompts.inner.boxes().last(), QStringLiteral("[CotaKelvo] HTTP/1.1 404 Not Found."));
}
