#include "exchange/connectivity.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

TEST(Connectivity, ServerEndpointOfAddresses)
{
    struct Case {
        const char *address;
        bool ok;
        const char *host;
        quint16 port;
    } cases[] = {
        { "http://compras.example.com.br", true, "compras.example.com.br", 80 },
        { "https://compras.example.com.br/kelvo/", true, "compras.example.com.br", 443 },
        { "http://127.0.0.1:8080/", true, "127.0.0.1", 8080 },
        { "http://[::1]:9000/x", true, "::1", 9000 },
        { "  http://host:81  ", true, "host", 81 },
        { "compras.example.com.br", false, "", 0 },
        { "http://", false, "", 0 },
        { "http://host:99999", false, "", 0 },
    };
    for (const Case &c : cases) {
        QString host;
        quint16 port = 0;
        EXPECT_EQ(serverEndpoint(QString::fromUtf8(c.address), &host, &port), c.ok) << c.address;
        if (c.ok) {
            EXPECT_EQ(host, QString::fromUtf8(c.host)) << c.address;
            EXPECT_EQ(port, c.port) << c.address;
        }
    }
}

TEST(Connectivity, CheckkelvoConnectsForReal)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    SystemConnectivity net(std::chrono::milliseconds(2000));
    const QString up = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    EXPECT_EQ(net.checkkelvo(up), QString());
    const quint16 port = server.serverPort();
    server.close();
    EXPECT_EQ(net.checkkelvo(QStringLiteral("http://127.0.0.1:%1/").arg(port)), serverProblemText());
    EXPECT_EQ(net.checkkelvo(QStringLiteral("sem-esquema")), serverProblemText());
}

// The check that does not wait answers through the event loop, as the
// waiting one does; an address it cannot use fails without trying.
TEST(Connectivity, CheckWithoutWaitingAnswersLikeTheWaitingOne)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString up = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString down = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    closed.close();
    SystemConnectivity net(std::chrono::milliseconds(5000));
    for (const auto &[address, want] : { std::pair { up, QString() }, std::pair { down, serverProblemText() },
             std::pair { QStringLiteral("sem-esquema"), serverProblemText() } }) {
        std::unique_ptr<ServerCheck> check = net.startCheckkelvo(address);
        EXPECT_FALSE(check->isAnswered()) << address.toStdString();
        QSignalSpy answered(check.get(), &ServerCheck::answered);
        ASSERT_TRUE(answered.wait(5000)) << address.toStdString();
        EXPECT_EQ(answered.size(), 1);
        EXPECT_EQ(answered.at(0).at(0).toString(), want) << address.toStdString();
    }
}

// A check past its time answers the fixed message once; abandoning one that
// is still trying neither waits nor answers.
TEST(Connectivity, CheckWithoutWaitingGivesUpAtItsTimeOut)
{
    ServerCheck silent(std::chrono::milliseconds(100));
    QSignalSpy answered(&silent, &ServerCheck::answered);
    ASSERT_TRUE(answered.wait(5000));
    EXPECT_EQ(answered.at(0).at(0).toString(), serverProblemText());
    QTest::qWait(150);
    EXPECT_EQ(answered.size(), 1);
    EXPECT_TRUE(silent.isAnswered());

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    SystemConnectivity net(std::chrono::milliseconds(5000));
    auto check = net.startCheckkelvo(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()));
    QSignalSpy abandoned(check.get(), &ServerCheck::answered);
    check.reset();
    QTest::qWait(100);
    EXPECT_EQ(abandoned.size(), 0);
}
