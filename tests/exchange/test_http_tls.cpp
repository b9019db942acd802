#include "exchange/http_client.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/temp_folder.h"
#include "support/test_certificate.h"

#include <gtest/gtest.h>

namespace {

const QByteArray okAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
const QString verificationFailure = QString::fromUtf8("Falha na verificação do certificado do servidor: ");

QString failureOf(HttpClient &client, const QString &address)
{
    try {
        client.get(address);
    } catch (const HttpError &e) {
        return e.message();
    }
    return QStringLiteral("(no failure)");
}

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
    const QString refused = failureOf(client, byName);
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
        const QString refused
            = failureOf(client, QStringLiteral("https://%1:%2/x").arg(host).arg(server.port()));
        EXPECT_TRUE(refused.startsWith(verificationFailure) && refused.contains(QLatin1String("mismatch")))
            << refused.toStdString();
    }
}

TEST(HttpClientTls, UnreadableCaFileIsReported)
{
    RawServer server({});
    HttpClient client;
    client.setCaFile(QStringLiteral("/nonexistent/ca.pem"));
    const QString message = failureOf(client, QStringLiteral("https://127.0.0.1:%1/x").arg(server.port()));
    EXPECT_TRUE(message.contains(QLatin1String("/nonexistent/ca.pem"))) << message.toStdString();
}
