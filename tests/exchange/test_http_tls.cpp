#include "exchange/http_client.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/temp_folder.h"
#include "support/test_certificate.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QByteArray okAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
const QString verificationFailure = QString::fromUtf8("Falha na verificação do certificado do servidor: ");

} // namespace

TEST(HttpClientTls, SelfSignedServerIsRefusedUnlessTrusted)
{
    const TempFolder folder;
    const TestCertificate cert = makeSelfSignedCertificate(folder.path(), QStringLiteral("localhost"),
        { QStringLiteral("DNS:localhost"), QStringLiteral("IP:127.0.0.1") });
    RawServer server(
        { RawServer::answer(okAnswer), RawServer::answer(okAnswer) }, cert.certFile, cert.keyFile);
    const QString byName = QStringLiteral("https://localhost:%1/net/a.php?user=u").arg(server.port());

    HttpClient client;
    const QString refused = thrownMessage([&] { client.get(byName); });
    EXPECT_TRUE(refused.startsWith(verificationFailure)) << refused.toStdString();
    EXPECT_TRUE(server.requests().isEmpty());

    client.setCaFile(cert.certFile);
    EXPECT_EQ(client.get(byName), QStringLiteral("OK"));
    EXPECT_EQ(client.get(server.url(QStringLiteral("/net/b.php"))), QStringLiteral("OK"));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests.at(0).bytes,
        "GET /net/a.php?user=u HTTP/1.1\r\n"
        "Content-Type: text/html\r\n"
        "Host: localhost:"
            + QByteArray::number(server.port())
            + "\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n");
}

TEST(HttpClientTls, CertificateForAnotherHostIsRefused)
{
    const TempFolder folder;
    const TestCertificate cert = makeSelfSignedCertificate(
        folder.path(), QStringLiteral("outro.exemplo"), { QStringLiteral("DNS:outro.exemplo") });
    RawServer server({ RawServer::answer(okAnswer) }, cert.certFile, cert.keyFile);
    HttpClient client;
    client.setCaFile(cert.certFile);
    for (const QString &host : { QStringLiteral("localhost"), QStringLiteral("127.0.0.1") }) {
        const QString refused = thrownMessage(
            [&] { client.get(QStringLiteral("https://%1:%2/x").arg(host).arg(server.port())); });
        EXPECT_TRUE(refused.startsWith(verificationFailure) && refused.contains(QLatin1String("mismatch")))
            << refused.toStdString();
    }
}

TEST(HttpClientTls, UnreadableCaFileIsReported)
{
    RawServer server({});
    HttpClient client;
    client.setCaFile(QStringLiteral("/nonexistent/ca.pem"));
    const QString message
        = thrownMessage([&] { client.get(QStringLiteral("https://127.0.0.1:%1/x").arg(server.port())); });
    EXPECT_TRUE(message.contains(QLatin1String("/nonexistent/ca.pem"))) << message.toStdString();
}

TEST(HttpClientTls, ReadAbandonedWhileTheServerIsSilentLeavesTheClientUsable)
{
    const TempFolder folder;
    const TestCertificate cert = makeSelfSignedCertificate(
        folder.path(), QStringLiteral("127.0.0.1"), { QStringLiteral("IP:127.0.0.1") });
    RawServer silent({ RawServer::neverAnswer() }, cert.certFile, cert.keyFile);
    HttpClient client;
    client.setCaFile(cert.certFile);
    // Once the server holds the request, the client is reading its answer.
    client.setWaitHook([&] {
        if (!silent.requests().isEmpty())
            throw std::runtime_error("interrompido");
    });
    EXPECT_EQ(
        thrownMessage([&] { client.get(silent.url(QStringLiteral("/x"))); }), QStringLiteral("interrompido"));

    client.setWaitHook({});
    RawServer server({ RawServer::answer(okAnswer) }, cert.certFile, cert.keyFile);
    EXPECT_EQ(client.get(server.url(QStringLiteral("/y"))), QStringLiteral("OK"));
}
