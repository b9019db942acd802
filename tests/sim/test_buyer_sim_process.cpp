#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Everything the server sends until it closes the connection.
QByteArray exchange(quint16 port, const QByteArray &requests)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(requests);
    QByteArray received;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        received += socket.readAll();
    return received + socket.readAll();
}

} // namespace

TEST(BuyerSimProcess, ServesKeptAliveRequestsFromANewStateFile)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    TempFolder folder;
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, folder.file(u"state.json"_s) });
    const quint16 port = sim.port();
    ASSERT_NE(port, 0);
    EXPECT_TRUE(QFileInfo::exists(folder.file(u"state.json"_s)));

    const QByteArray received = exchange(port,
        "GET /net/verificaentrega.php?user=DEMO&pass=DEMO123&cota=nada HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"
        "GET /kelvo/net/getpedlib.php?user=DEMO&pass=DEMO123 HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        "Connection: close\r\n\r\n");
    // Both answers on the one connection, then the server closes it.
    EXPECT_EQ(received.count("HTTP/1.1 200 OK\r\n"), 2) << received.data();
    EXPECT_TRUE(received.contains("Content-Type: text/html; charset=ISO-8859-1\r\n"));
    EXPECT_TRUE(received.contains("\r\n\r\n*Cota\xE7\xE3o nada n\xE3o encontrada"));
    static const QRegularExpression orderRecord(
        u"\r\n\r\n\\d{10}\\|Liberado\\|\\d\\d/\\d\\d/\\d{4}\\|\\d\\d:\\d\\d\r\n"_s);
    EXPECT_TRUE(orderRecord.match(QString::fromLatin1(received)).hasMatch()) << received.data();

    EXPECT_TRUE(exchange(port, "NOT HTTP AT ALL\r\n\r\n").startsWith("HTTP/1.1 400 "));
    EXPECT_TRUE(exchange(port, "GET /net/x.php HTTP/1.0\r\n\r\n").startsWith("HTTP/1.0 404 "));

    sim.process().terminate();
    ASSERT_TRUE(sim.process().waitForFinished(5000));
    EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process().exitCode(), 0);
}

TEST(BuyerSimProcess, UnreadableStateFileIsLeftAlone)
{
    TempFolder folder;
    folder.write(u"state.json"_s, "{ not json");
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, folder.file(u"state.json"_s) });
    EXPECT_EQ(sim.port(), 0);
    sim.process().waitForFinished(5000);
    ASSERT_EQ(sim.process().state(), QProcess::NotRunning);
    EXPECT_EQ(sim.process().exitCode(), 1);
    EXPECT_EQ(folder.read(u"state.json"_s), "{ not json");
}
