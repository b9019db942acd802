#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;

// A scripted server on 127.0.0.1 for wire tests: it records the bytes of
// every request and answers each with canned bytes, one connection at a time,
// on its own thread. A request ends after its head and Content-Length bytes.
class RawServer final {
public:
    struct Reply {
        QByteArray bytes; // sent once the request has been read
        bool close = false; // close the connection after the bytes
        bool silent = false; // send nothing and hold the connection open
        bool held = false; // send the bytes only once release() is called
        // After the bytes: the piece, count times (-1: until the client
        // goes), each after the pause; then the tail. A long answer is
        // streamed, never held whole in memory.
        QByteArray piece = {};
        qint64 count = 0;
        int pauseMs = 0;
        QByteArray tail = {};
        bool reset = false; // end the connection with a reset, not a close
    };
    struct Request {
        int connection = 0; // 1 for the first connection accepted, ...
        QByteArray bytes;
    };

    static Reply answer(const QByteArray &bytes) { return { bytes, false, false, false }; }
    static Reply answerAndClose(const QByteArray &bytes) { return { bytes, true, false, false }; }
    static Reply closeWithoutAnswer() { return { {}, true, false, false }; }
    static Reply neverAnswer() { return { {}, false, true, false }; }
    // Answers when the test says so: a server that takes its time, without
    // the test guessing how long.
    static Reply answerWhenReleased(const QByteArray &bytes) { return { bytes, false, false, true }; }
    // The head, then the piece count times, then the tail, then a close.
    static Reply stream(
        const QByteArray &head, const QByteArray &piece, qint64 count, const QByteArray &tail = {})
    {
        return { head, true, false, false, piece, count, 0, tail, false };
    }
    // The head, then the piece count times, each after the pause, then the
    // tail and a close: a server that sends at a steady pace.
    static Reply paced(const QByteArray &head, const QByteArray &piece, qint64 count, int pauseMs,
        const QByteArray &tail = {})
    {
        return { head, true, false, false, piece, count, pauseMs, tail, false };
    }
    // The head, then the piece after every pause, for as long as the client stays.
    static Reply trickle(const QByteArray &head, const QByteArray &piece, int pauseMs)
    {
        return { head, true, false, false, piece, -1, pauseMs, {}, false };
    }
    // The bytes, then a reset of the connection.
    static Reply answerAndReset(const QByteArray &bytes)
    {
        return { bytes, true, false, false, {}, 0, 0, {}, true };
    }

    // Replies are used in order across connections; when they run out the
    // connection is closed without an answer. With a certificate and key
    // (PEM files) the server speaks TLS.
    explicit RawServer(QList<Reply> replies, const QString &certFile = {}, const QString &keyFile = {});
    ~RawServer();
    RawServer(const RawServer &) = delete;
    RawServer &operator=(const RawServer &) = delete;

    quint16 port() const { return m_port; }
    QString url(const QString &pathAndQuery) const;
    QList<Request> requests() const;
    // Every byte that arrived, on every connection, after its TLS handshake
    // when there is one; a request cut short is there too.
    QByteArray received() const;
    int connections() const;
    // Lets the held replies go out (callable from any thread).
    void release();

private:
    class Peer;
    void run();
    void serve(Peer &peer, int connection);
    bool waitReadable(qintptr socket) const;
    bool pause(int ms) const; // false when the server is stopping
    bool sendBody(Peer &peer, const Reply &reply);
    Reply nextReply();

    QList<Reply> m_replies;
    // Sockets, in the integer type of every system's sockets.
    qintptr m_listen = -1;
    qintptr m_wake[2] = { -1, -1 }; // written to wake the server's thread
    quint16 m_port = 0;
    SSL_CTX *m_tls = nullptr;
    mutable std::mutex m_mutex;
    QList<Request> m_requests;
    QByteArray m_received;
    int m_connections = 0;
    std::atomic<bool> m_stopping { false };
    bool m_released = false;
    std::condition_variable m_releasedChanged;
    std::thread m_thread;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
quint16 closedLocalPort();

// A listener on 127.0.0.1 that never accepts and whose queue is already
// full, so that a connection attempt to it hangs unanswered.
class StalledListener final {
public:
    StalledListener();
    ~StalledListener();
    StalledListener(const StalledListener &) = delete;
    StalledListener &operator=(const StalledListener &) = delete;
    quint16 port() const { return m_port; }

private:
    qintptr m_listen = -1;
    qintptr m_filler = -1;
    quint16 m_port = 0;
};
