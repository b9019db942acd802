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
