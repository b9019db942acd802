#include "common/clock.h"
#include "exchange/http_client.h"
#include "exchange/multipart_form.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using namespace std::chrono_literals;

namespace {

const QByteArray okAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
const QByteArray userAgent = "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
const QByteArray accept = "Accept: text/html, */*\r\n";

QByteArray hostLine(const RawServer &server)
{
    return "Host: 127.0.0.1:" + QByteArray::number(server.port()) + "\r\n";
}

QByteArray requestBytes(const RawServer &server, int index)
{
    const auto requests = server.requests();
    return index < requests.size() ? requests.at(index).bytes : QByteArray("(no request)");
}

} // namespace

TEST(HttpClientWire, GetSendsExactlyTheseLines)
{
    RawServer server({ RawServer::answer(okAnswer) });
    HttpClient client;
    EXPECT_EQ(client.get(server.url(QStringLiteral("/net/getcotalib.php?user=joao&pass=x%26y"))),
        QStringLiteral("OK"));
    EXPECT_EQ(requestBytes(server, 0),
        "GET /net/getcotalib.php?user=joao&pass=x%26y HTTP/1.1\r\n"
        "Content-Type: text/html\r\n"
            + hostLine(server) + accept + userAgent + "\r\n");
}

TEST(HttpClientWire, TargetAndHeadersAreCleanAscii)
{
    RawServer server({ RawServer::answer(okAnswer) });
    HttpClient client;
    // What the submission window sets, with an attempt to add a header.
    client.setRequestContentType(QStringLiteral("application/x-www-form-urlencoded\r\nX-Evil: 1"));
    client.get(server.url(QString::fromUtf8("\\net\\a.php?user=jo ção&pass=a\r\nX: 1€#resto&cota=9")));
    EXPECT_EQ(requestBytes(server, 0),
        "GET /net/a.php?user=jo ??o&pass=aX: 1? HTTP/1.1\r\n"
        "Content-Type: application/x-www-form-urlencodedX-Evil: 1\r\n"
            + hostLine(server) + accept + userAgent + "\r\n");
}

TEST(HttpClientWire, UnknownProtocolSendsNothing)
{
    HttpClient client;
    EXPECT_EQ(thrownMessage([&] { client.get(QStringLiteral("srv.example/net/a.php?user=a")); }),
        QStringLiteral("Unknown Protocol"));
}

TEST(HttpClientWire, ConnectionIsKeptWhileTheServerAllowsIt)
{
    const struct {
        const char *name;
        QByteArray answer;
        int connections;
    } cases[] = {
        { "1.1 default", okAnswer, 1 },
        { "1.1 close", "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nOK", 2 },
        { "1.0 default", "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nOK", 2 },
        { "1.0 keep-alive", "HTTP/1.0 200 OK\r\nConnection: keep-alive\r\nContent-Length: 2\r\n\r\nOK", 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ RawServer::answer(c.answer), RawServer::answer(c.answer) });
        HttpClient client;
        EXPECT_EQ(client.get(server.url(QStringLiteral("/a"))), QStringLiteral("OK"));
        EXPECT_EQ(client.get(server.url(QStringLiteral("/b"))), QStringLiteral("OK"));
        EXPECT_EQ(server.connections(), c.connections);
        EXPECT_TRUE(requestBytes(server, 1).startsWith("GET /b HTTP/1.1\r\nContent-Type: text/html\r\n"));
    }
}

TEST(HttpClientWire, GetIsSentAgainWhenTheKeptConnectionWasClosed)
{
    // The server answers as if it kept the connection, then drops it.
    RawServer server({ RawServer::answerAndClose(okAnswer),
        RawServer::answer("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nDOS") });
    HttpClient client;
    client.get(server.url(QStringLiteral("/a")));
    EXPECT_EQ(client.get(server.url(QStringLiteral("/b"))), QStringLiteral("DOS"));
    EXPECT_EQ(server.connections(), 2);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests.at(1).connection, 2);
    EXPECT_TRUE(requests.at(1).bytes.startsWith("GET /b "));
}

TEST(HttpClientWire, PostGoesOutOnAFreshConnectionAsHttp10)
{
    const FixedClock clock(QDateTime(QDate(2020, 6, 26), QTime(9, 30, 0, 5)));
    Clock::setCurrent(&clock);
    RawServer server({ RawServer::answer(okAnswer),
        RawServer::answer("HTTP/1.1 200 OK\r\nContent-Length: 19\r\n\r\nGRAVADO COM SUCESSO"),
        RawServer::answer(okAnswer) });
    HttpClient client;
    client.setRequestContentType(QStringLiteral("application/x-www-form-urlencoded"));
    client.get(server.url(QStringLiteral("/net/verificaentrega.php?user=u&pass=p&cota=7")));

    MultipartForm form;
    form.addField(QStringLiteral("items1"), QString::fromUtf8("Ana|7|06/26/2020|Freio ç|10|1234.5|30||"));
    const QByteArray body = form.body();
    EXPECT_EQ(client.post(server.url(QStringLiteral("/net/sendcotaforn.php?user=u&pass=p&cota=7")), form),
        QStringLiteral("GRAVADO COM SUCESSO"));
    client.get(server.url(QStringLiteral("/net/getcotalib.php?user=u&pass=p")));
    Clock::setCurrent(nullptr);

    EXPECT_EQ(requestBytes(server, 1),
        "POST /net/sendcotaforn.php?user=u&pass=p&cota=7 HTTP/1.0\r\n"
        "Connection: keep-alive\r\n"
        "Content-Type: multipart/form-data; boundary=--------062620093000005\r\n"
        "Content-Length: "
            + QByteArray::number(body.size()) + "\r\n" + hostLine(server) + accept + userAgent + "\r\n"
            + body);
    EXPECT_EQ(body.size(), 205); // 176 for the field, the boundary and 6
    EXPECT_EQ(requestBytes(server, 2),
        "GET /net/getcotalib.php?user=u&pass=p HTTP/1.1\r\n"
        "Connection: keep-alive\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\n"
            + hostLine(server) + accept + userAgent + "\r\n");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests.at(1).connection, 2);
    EXPECT_EQ(requests.at(2).connection, 2);
}

TEST(HttpClientWire, EmptyFormIsPostedWithLengthZero)
{
    RawServer server({ RawServer::answer(okAnswer) });
    HttpClient client;
    const MultipartForm form;
    client.post(server.url(QStringLiteral("/net/sendcotaforn.php?cota=1")), form);
    const QByteArray sent = requestBytes(server, 0);
    EXPECT_TRUE(sent.contains("\r\nContent-Length: 0\r\n"));
    EXPECT_TRUE(sent.endsWith(userAgent + "\r\n"));
}

TEST(HttpClientWire, ReadsEveryFormOfSuccessfulAnswer)
{
    const struct {
        const char *name;
        RawServer::Reply reply;
        const char *text;
    } cases[] = {
        { "length", RawServer::answer(okAnswer), "OK" },
        { "chunked",
            RawServer::answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nHello\r\n6\r\n "
                              "World\r\n0\r\n\r\n"),
            "Hello World" },
        { "until close",
            RawServer::answerAndClose(
                "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nlinha1\r\nlinha2\r\n"),
            "linha1\r\nlinha2\r\n" },
        { "interim 100",
            RawServer::answer("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK"),
            "OK" },
        { "no content", RawServer::answer("HTTP/1.1 204 No Content\r\n\r\n"), "" },
        { "created", RawServer::answer("HTTP/1.1 201 Created\r\nContent-Length: 1\r\n\r\n*"), "*" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        EXPECT_EQ(client.get(server.url(QStringLiteral("/x"))), QString::fromLatin1(c.text));
    }
}

// Hands the client a server's bytes a few at a time, as a slow network does.
class Trickle final : public HttpByteSource {
public:
    Trickle(QByteArray bytes, qsizetype slice)
        : m_bytes(std::move(bytes))
        , m_slice(slice)
    {
    }
    void write(const QByteArray &) override { }
    QByteArray read(qsizetype max) override
    {
        const QByteArray piece = m_bytes.mid(m_pos, qMin(max, m_slice));
        m_pos += piece.size();
        return piece;
    }

private:
    QByteArray m_bytes;
    qsizetype m_slice;
    qsizetype m_pos = 0;
};

TEST(HttpClientWire, AnswersArrivingInPiecesReadAsWhole)
{
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    const struct {
        QByteArray bytes;
        const char *text; // nullptr: refused
    } cases[] = {
        { chunked + "5\r\nHello\r\n6\r\n World\r\n0\r\n\r\n", "Hello World" },
        { chunked + "0\r\n\r\n", "" },
        { chunked + "0\r\nX-Fim: 1\r\n\r\n", "" }, // a trailer
        { chunked + "0\r\nHe\n\r\n", nullptr }, // a trailer line without its CR
        { "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK", "OK" },
    };
    for (const auto &c : cases) {
        for (const qsizetype slice : { 1, 2, 3, 7 }) {
            SCOPED_TRACE(c.bytes.toStdString() + " in pieces of " + std::to_string(slice));
            HttpClient client;
            client.setByteSource(std::make_shared<Trickle>(c.bytes, slice));
            const QString address = QStringLiteral("http://buyer.example/net/getcotalib.php");
            if (c.text)
                EXPECT_EQ(client.get(address), QString::fromLatin1(c.text));
            else
                EXPECT_FALSE(thrownMessage([&] { client.get(address); }).isEmpty());
        }
    }
}

TEST(HttpClientWire, FailuresCarryTheirMessages)
{
    const struct {
        const char *name;
        RawServer::Reply reply;
        const char *message;
    } cases[] = {
        { "redirect",
            RawServer::answer("HTTP/1.1 302 Found\r\nLocation: /outro\r\nContent-Length: 0\r\n\r\n"),
            "HTTP/1.1 302 Found" },
        { "not found", RawServer::answer("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"),
            "HTTP/1.1 404 Not Found" },
        { "reason as sent", RawServer::answerAndClose("HTTP/1.0 500 Deu  Pau\r\n\r\n"),
            "HTTP/1.0 500 Deu  Pau" },
        { "closed before answering", RawServer::closeWithoutAnswer(), "Connection Closed Gracefully." },
        { "closed inside the body",
            RawServer::answerAndClose("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"),
            "Connection Closed Gracefully." },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        EXPECT_EQ(thrownMessage([&] { client.get(server.url(QStringLiteral("/x"))); }),
            QString::fromLatin1(c.message));
        EXPECT_EQ(server.requests().size(), 1); // a redirection is not followed
    }
}

TEST(HttpClientWire, RefusedConnection)
{
    HttpClient client;
    const QString address = QStringLiteral("http://127.0.0.1:%1/net/a.php").arg(closedLocalPort());
    EXPECT_EQ(thrownMessage([&] { client.get(address); }),
        QStringLiteral("Socket Error # 10061\r\nConnection refused."));
}

TEST(HttpClientWire, SilentServerTimesOut)
{
    const MultipartForm form;
    const struct {
        const char *name;
        std::function<void(HttpClient &, const QString &)> request;
    } cases[] = {
        { "get", [](HttpClient &client, const QString &address) { client.get(address); } },
        { "submission", [&](HttpClient &client, const QString &address) { client.post(address, form); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ RawServer::neverAnswer() });
        HttpClient client;
        client.setIdleTimeout(50ms);
        client.setSubmissionIdleTimeout(50ms);
        EXPECT_EQ(thrownMessage([&] { c.request(client, server.url(QStringLiteral("/net/x.php"))); }),
            QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    }
}

TEST(HttpClientWire, SubmissionOutwaitsTheIdleTimeOutOfAGet)
{
    // The server stores the items while the client waits and repaints.
    RawServer server({ RawServer::answerWhenReleased(okAnswer) });
    HttpClient client;
    client.setIdleTimeout(1ms);
    int hookCalls = 0;
    client.setWaitHook([&] {
        if (++hookCalls == 3)
            server.release();
    });
    EXPECT_EQ(client.post(server.url(QStringLiteral("/net/sendcotaforn.php?cota=1")), MultipartForm()),
        QStringLiteral("OK"));
    EXPECT_GE(hookCalls, 3);
}

TEST(HttpClientWire, ConnectingGivesUp)
{
    const StalledListener listener;
    HttpClient client;
    client.setConnectTimeout(300ms);
    EXPECT_EQ(
        thrownMessage([&] { client.get(QStringLiteral("http://127.0.0.1:%1/x").arg(listener.port())); }),
        QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
}

TEST(HttpClientWire, ClientStaysUsableWhenTheWaitHookThrows)
{
    RawServer silent({ RawServer::neverAnswer() });
    HttpClient client;
    int hookCalls = 0;
    client.setWaitHook([&] {
        if (++hookCalls == 3)
            throw std::runtime_error("interrompido");
    });
    EXPECT_EQ(
        thrownMessage([&] { client.get(silent.url(QStringLiteral("/x"))); }), QStringLiteral("interrompido"));
    RawServer server({ RawServer::answer(okAnswer) });
    EXPECT_EQ(client.get(server.url(QStringLiteral("/y"))), QStringLiteral("OK"));
}

TEST(HttpClientWire, CookiesGoBackOnLaterRequests)
{
    RawServer server({ RawServer::answer("HTTP/1.1 200 OK\r\n"
                                         "Set-Cookie: sessao=abc123; Path=/\r\n"
                                         "Set-Cookie: lote=7; Path=/net/\r\n"
                                         "Set-Cookie: outra=x; Path=/admin/\r\n"
                                         "Content-Length: 2\r\n\r\nOK"),
        RawServer::answer(okAnswer), RawServer::answer(okAnswer) });
    HttpClient client;
    client.get(server.url(QStringLiteral("/net/getcotalib.php")));
    client.get(server.url(QStringLiteral("/net/getcotaforn.php")));
    EXPECT_EQ(requestBytes(server, 1),
        "GET /net/getcotaforn.php HTTP/1.1\r\nContent-Type: text/html\r\n" + hostLine(server) + accept
            + userAgent + "Cookie: lote=7; sessao=abc123\r\n\r\n");
    // Another window's client starts without them.
    client.disconnect();
    HttpClient other;
    other.get(server.url(QStringLiteral("/net/getcotalib.php")));
    EXPECT_FALSE(requestBytes(server, 2).contains("Cookie:"));
}

TEST(HttpClientWire, BodyTextFollowsTheDeclaredCharset)
{
    const struct {
        const char *name;
        QByteArray headers;
        QByteArray body;
        const char *text; // UTF-8
    } cases[] = {
        { "no declaration", "", "a\xC3\xA7\xE7", "aÃ§ç" },
        { "header latin1", "Content-Type: text/plain; charset=ISO-8859-1\r\n", "a\xE7\xE3o", "ação" },
        { "header utf-8", "Content-Type: text/plain; charset=\"UTF-8\"\r\n", "a\xC3\xA7\xC3\xA3o", "ação" },
        { "header windows-1252", "Content-Type: text/plain; charset=windows-1252\r\n", "\x80 5", "€ 5" },
        { "meta charset wins", "Content-Type: text/html; charset=iso-8859-1\r\n",
            "<html><head><meta charset=\"utf-8\"></head><body>\xC3\xA7</body></html>",
            "<html><head><meta charset=\"utf-8\"></head><body>ç</body></html>" },
        { "meta http-equiv", "Content-Type: text/html\r\n",
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\xC3\xA7",
            "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">ç" },
        { "meta ignored in plain text", "Content-Type: text/plain\r\n", "<meta charset=utf-8>\xC3\xA7",
            "<meta charset=utf-8>Ã§" },
        { "unknown charset", "Content-Type: text/plain; charset=x-nada\r\n", "\xE7", "ç" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ RawServer::answer("HTTP/1.1 200 OK\r\n" + c.headers
            + "Content-Length: " + QByteArray::number(c.body.size()) + "\r\n\r\n" + c.body) });
        HttpClient client;
        EXPECT_EQ(client.get(server.url(QStringLiteral("/x"))), QString::fromUtf8(c.text));
    }
}

TEST(HttpClientWire, AnswersOverTheLimitAreRefused)
{
    const QByteArray big(3000, 'x');
    const struct {
        const char *name;
        RawServer::Reply reply;
        bool statusLine;
    } cases[] = {
        { "length", RawServer::answer("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n" + big), false },
        { "chunked",
            RawServer::answer(
                "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nbb8\r\n" + big + "\r\n0\r\n\r\n"),
            false },
        { "until close", RawServer::answerAndClose("HTTP/1.1 200 OK\r\n\r\n" + big), false },
        { "error status",
            RawServer::answer("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 3000\r\n\r\n" + big),
            true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        client.setBodyLimit(1000);
        const QString message = thrownMessage([&] { client.get(server.url(QStringLiteral("/x"))); });
        if (c.statusLine)
            EXPECT_EQ(message, QStringLiteral("HTTP/1.1 500 Internal Server Error"));
        else
            EXPECT_EQ(message,
                QStringLiteral("A resposta do servidor excede o limite de 1000 bytes e foi recusada."));
    }
}
