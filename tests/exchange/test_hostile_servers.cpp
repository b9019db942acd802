// Servers that misbehave on purpose: each request ends with a clear message
// within the client's limits, and the client serves the next request.
#include "exchange/http_client.h"
#include "exchange/multipart_form.h"
#include "support/peak_memory.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

const QByteArray okAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK";
const QByteArray megabyte(1024 * 1024, 'x');

void expectUsable(HttpClient &client)
{
    RawServer good({ RawServer::answer(okAnswer) });
    EXPECT_EQ(client.get(good.url(u"/net/getcotalib.php"_s)), u"OK"_s);
}

// The test's idle time-outs (of a GET and of a submission) and answer deadline.
void setTimeOuts(HttpClient &client, std::chrono::milliseconds idle, std::chrono::milliseconds answer)
{
    client.setIdleTimeout(idle);
    client.setSubmissionIdleTimeout(idle);
    client.setAnswerTimeout(answer);
}

// The message of a GET or a submission to the server, "(no error)" when it
// completes; its answer in body.
QString exchange(HttpClient &client, const RawServer &server, bool post, QString *body = nullptr)
{
    const QString address = server.url(u"/net/sendcotaforn.php?cota=1"_s);
    return thrownMessage([&] {
        const QString answer = post ? client.post(address, MultipartForm()) : client.get(address);
        if (body)
            *body = answer;
    });
}

} // namespace

TEST(HostileServer, TrickleEndsAtTheAnswerDeadline)
{
    const struct {
        const char *name;
        RawServer::Reply reply;
        bool post;
    } cases[] = {
        // A header line that never ends, a byte at a time.
        { "head", RawServer::trickle("HTTP/1.1 200 OK\r\nX-", "a", 2), false },
        { "body", RawServer::trickle("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n", "x", 2), false },
        { "chunks",
            RawServer::trickle("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "1\r\nx\r\n", 2),
            false },
        { "interim answers forever", RawServer::trickle({}, "HTTP/1.1 100 Continue\r\n\r\n", 1), false },
        { "submission", RawServer::trickle("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n", "x", 2),
            true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        // Each byte comes well within the idle time-out: only the deadline ends it.
        setTimeOuts(client, 10s, 150ms);
        EXPECT_EQ(exchange(client, server, c.post),
            u"O servidor não terminou a resposta em 0,15 segundos; ela foi abandonada."_s);
        expectUsable(client);
    }
}

// The low-speed limit scaled down from 1 KB a minute to 1 KB in 0.3 s, with
// idle time-outs and a deadline far beyond it: the message tells which limit
// ended the answer.
TEST(HostileServer, AnAnswerSlowerThanTheLeastRateEndsAfterOneWindow)
{
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n";
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    const QString slow = u"A resposta do servidor chega devagar demais (menos de 1.024 bytes em 0,3 "
                         "segundos); ela foi abandonada."_s;
    const struct {
        const char *name;
        RawServer::Reply reply;
        bool post;
        QString message;
    } cases[] = {
        { "a byte every 10 ms", RawServer::trickle(head, "x", 10), false, slow },
        { "a header line a byte at a time", RawServer::trickle("HTTP/1.1 200 OK\r\nX-", "a", 10), false,
            slow },
        { "one-byte chunks", RawServer::trickle(chunked, "1\r\nx\r\n", 10), false, slow },
        { "a submission's answer", RawServer::trickle(head, "x", 10), true, slow },
        // Steady, but under the rate: 600 bytes in each window.
        { "100 bytes every 50 ms", RawServer::trickle(head, QByteArray(100, 'x'), 50), false, slow },
        // A hundred times the rate, for more than two windows.
        { "4 KB every 10 ms",
            RawServer::paced(
                "HTTP/1.1 200 OK\r\nContent-Length: 262144\r\n\r\n", QByteArray(4096, 'x'), 64, 10),
            false, u"(no error)"_s },
        // Silent longer than a window before the first byte: only the idle
        // time-out bounds that (a server storing a submission).
        { "quiet, then the whole answer",
            RawServer::paced({}, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nOK", 1, 700), true,
            u"(no error)"_s },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        setTimeOuts(client, 20s, 30s);
        client.setLowSpeedLimit(1024, 300ms);
        QString body;
        EXPECT_EQ(exchange(client, server, c.post, &body), c.message);
        if (c.message == u"(no error)") {
            EXPECT_EQ(body.size(), c.post ? 2 : 262144);
        }
        expectUsable(client);
    }
}

TEST(HostileServer, AnswerOfAGigabyteIsRefusedAtTheLimit)
{
    const qint64 gigabyte = 1024 * megabyte.size();
    const struct {
        const char *name;
        RawServer::Reply reply;
    } cases[] = {
        { "announced",
            RawServer::stream(
                "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(gigabyte) + "\r\n\r\n", megabyte,
                1024) },
        { "chunked",
            RawServer::stream("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
                "100000\r\n" + megabyte + "\r\n", 1024, "0\r\n\r\n") },
        { "one chunk",
            RawServer::stream("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40000000\r\n", megabyte,
                1024, "\r\n0\r\n\r\n") },
        { "until close", RawServer::stream("HTTP/1.1 200 OK\r\n\r\n", megabyte, 1024) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const qint64 before = peakMemory();
        RawServer server({ c.reply });
        HttpClient client; // the limit of the program, 64 MB
        EXPECT_EQ(thrownMessage([&] { client.get(server.url(u"/net/getcotaforn.php"_s)); }),
            u"A resposta do servidor excede o limite de 67108864 bytes e foi recusada."_s);
        // Never the gigabyte: the limit at most, with the growth of the
        // string that takes it (and the sanitizer's quarantine of what it freed).
        EXPECT_LT(peakMemory() - before, 512 * megabyte.size());
        expectUsable(client);
    }
}

TEST(HostileServer, HeadersOfAMegabyteAreRefused)
{
    const QByteArray line64 = "X-Linha: " + QByteArray(53, 'a') + "\r\n";
    const struct {
        const char *name;
        RawServer::Reply reply;
    } cases[] = {
        { "one long line", RawServer::stream("HTTP/1.1 200 OK\r\nX-Grande: ", megabyte, 1, "\r\n\r\nOK") },
        { "many lines", RawServer::stream("HTTP/1.1 200 OK\r\n", line64, 16 * 1024, "\r\nOK") },
        { "long reason", RawServer::stream("HTTP/1.1 200 ", megabyte, 1, "\r\n\r\n") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        EXPECT_EQ(thrownMessage([&] { client.get(server.url(u"/net/getpedlib.php"_s)); }),
            u"O cabeçalho da resposta do servidor excede o limite de 65536 bytes e foi recusado."_s);
        expectUsable(client);
    }
}

TEST(HostileServer, BrokenChunksAndResetsEndTheRequest)
{
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    const struct {
        const char *name;
        RawServer::Reply reply;
        QString message;
    } cases[] = {
        { "size not hexadecimal", RawServer::answer(chunked + "zz\r\nabc\r\n0\r\n\r\n"),
            u"Resposta inválida do servidor: bad chunk"_s },
        { "size beyond 64 bits", RawServer::answer(chunked + "1FFFFFFFFFFFFFFFFF\r\nabc\r\n0\r\n\r\n"),
            u"Resposta inválida do servidor: bad chunk"_s },
        { "negative size", RawServer::answer(chunked + "-5\r\nabc\r\n0\r\n\r\n"),
            u"Resposta inválida do servidor: bad chunk"_s },
        { "data longer than its size", RawServer::answer(chunked + "3\r\nabcdef\r\n0\r\n\r\n"),
            u"Resposta inválida do servidor: bad chunk"_s },
        { "closed inside a chunk", RawServer::answerAndClose(chunked + "10\r\nabc"),
            u"Connection Closed Gracefully."_s },
        { "reset inside the body",
            RawServer::answerAndReset(
                "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(100, 'x')),
            u"Socket Error # 10054\r\nA conexão foi interrompida pelo servidor."_s },
        { "reset inside a chunk", RawServer::answerAndReset(chunked + "100\r\nabc"),
            u"Socket Error # 10054\r\nA conexão foi interrompida pelo servidor."_s },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ c.reply });
        HttpClient client;
        EXPECT_EQ(thrownMessage([&] { client.get(server.url(u"/net/getpedforn.php?ped=1"_s)); }), c.message);
        expectUsable(client);
    }
}
