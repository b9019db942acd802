#pragma once

#include "exchange/http_address.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

// Bytes of a server in place of a network connection: the answers are read
// from it by the same code that reads them from a socket. For feeding the
// reader from a buffer (fuzzing) without a server.
class HttpByteSource {
public:
    virtual ~HttpByteSource() = default;
    // The request bytes, as they would go out.
    virtual void write(const QByteArray &bytes) = 0;
    // At most max bytes of what the server sends; empty once it closed.
    virtual QByteArray read(qsizetype max) = 0;
};

// What a client lets its connection do; tests shorten the limits.
struct HttpConnectionSettings {
    std::chrono::milliseconds connectTimeout { 15000 };
    // Longest silence while an answer is awaited or arriving.
    std::chrono::milliseconds idleTimeout { 60000 };
    // The same for a submission: storing a large quotation may keep the
    // server quiet for long, and giving up early invites sending it twice.
    std::chrono::milliseconds submissionIdleTimeout { std::chrono::minutes(5) };
    // Longest time for one answer, from the request's first byte sent to the
    // answer's last byte received: a server that trickles a byte now and then
    // never hits the idle time-out. Ten minutes still take a few megabytes
    // over a slow line and a submission the server is slow to store.
    std::chrono::milliseconds answerTimeout { std::chrono::minutes(10) };
    // Least progress of an answer once its first byte arrived: fewer than
    // lowSpeedBytes within any lowSpeedWindow ends it. A server that drips a
    // byte every few seconds is neither silent nor finished: without this it
    // holds the supplier until the answer deadline. A slow line still
    // brings kilobytes a second. Zero bytes turns the check off.
    quint64 lowSpeedBytes = 1024;
    std::chrono::milliseconds lowSpeedWindow { std::chrono::minutes(1) };
    // Largest answer body accepted; a longer one is refused unread.
    quint64 bodyLimit = quint64(64) * 1024 * 1024;
    // A PEM file of certificates trusted besides the system's.
    QString caFile;
    // Called about every 50 ms while a request waits.
    std::function<void()> waitHook;
    // When set, every connection is made to this source instead of the
    // server of the address (plain, whatever the scheme).
    std::shared_ptr<HttpByteSource> byteSource;
};

// The final answer to a request (interim 1xx answers are skipped).
struct HttpAnswer {
    int status = 0;
    QByteArray statusLine; // as the server sent it, without CR LF
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// One connection (plain or TLS) that is kept open while the server allows,
// for the next request to the same server. Runs on the calling thread.
class HttpConnection final {
public:
    explicit HttpConnection(const HttpConnectionSettings &settings);
    ~HttpConnection();
    HttpConnection(const HttpConnection &) = delete;
    HttpConnection &operator=(const HttpConnection &) = delete;

    enum class Kind {
        // May reuse an open connection to the same server, and is sent once
        // more on a new one when that turns out closed by the server before
        // any byte of the answer arrived.
        Idempotent,
        // Always on a new connection, never sent twice, and given the
        // submission's idle time-out.
        Submission,
    };

    // Sends the request bytes and reads the answer; throws HttpError on any
    // transport failure.
    HttpAnswer exchange(const HttpAddress &address, const QByteArray &request, Kind kind);
    void close();
    bool isOpen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
