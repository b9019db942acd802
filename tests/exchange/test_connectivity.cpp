#include "exchange/connectivity.h"

#include <QTcpServer>

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
