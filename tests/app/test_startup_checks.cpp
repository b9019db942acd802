#include "app/connectivity.h"
#include "app/instance_guard.h"
#include "support/temp_folder.h"

#include <QProcess>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

TEST(InstanceGuard, SecondOwnerRefusedUntilFirstEnds)
{
    TempFolder dir;
    {
        InstanceGuard first(QStringLiteral("kelvocota"), dir.path());
        ASSERT_TRUE(first.acquire());
        InstanceGuard second(QStringLiteral("kelvocota"), dir.path());
        EXPECT_FALSE(second.acquire());
    }
    InstanceGuard third(QStringLiteral("kelvocota"), dir.path());
    EXPECT_TRUE(third.acquire());
}

TEST(InstanceGuard, KilledOwnerDoesNotBlock)
{
    TempFolder dir;
    InstanceGuard probe(QStringLiteral("kelvocota"), dir.path());
    // A separate process takes the lock and is killed; -o keeps the lock out
    // of its child, so the kill alone must release it.
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), probe.lockPath(), QStringLiteral("sleep"), QStringLiteral("5")});
    ASSERT_TRUE(holder.waitForStarted());
    bool refused = false;
    for (int i = 0; i < 100 && !refused; ++i) {
        InstanceGuard g(QStringLiteral("kelvocota"), dir.path());
        refused = !g.acquire();
        if (!refused)
            QThread::msleep(20);
    }
    EXPECT_TRUE(refused);
    holder.kill();
    holder.waitForFinished();
    InstanceGuard after(QStringLiteral("kelvocota"), dir.path());
    bool acquired = false;
    for (int i = 0; i < 100 && !acquired; ++i) {
        acquired = after.acquire();
        if (!acquired)
            QThread::msleep(20);
    }
    EXPECT_TRUE(acquired);
}

TEST(Connectivity, ServerEndpointOfAddresses)
{
    struct Case {
        const char *address;
        bool ok;
        const char *host;
        quint16 port;
    } cases[] = {
        {"http://compras.example.com.br", true, "compras.example.com.br", 80},
        {"https://compras.example.com.br/kelvo/", true, "compras.example.com.br", 443},
        {"http://127.0.0.1:8080/", true, "127.0.0.1", 8080},
        {"http://[::1]:9000/x", true, "::1", 9000},
        {"  http://host:81  ", true, "host", 81},
        {"compras.example.com.br", false, "", 0},
        {"http://", false, "", 0},
        {"http://host:99999", false, "", 0},
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
