#include "support/raw_server.h"

// Before OpenSSL's headers: on Windows, Winsock comes before windows.h.
#include "support/test_sockets.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <stdexcept>

namespace sockets = testsockets;
using sockets::Socket;

namespace {

Socket socketOf(qintptr handle)
{
    return Socket(handle);
}

// The length of a whole request at the front of the bytes, or -1.
qsizetype requestLength(const QByteArray &bytes)
{
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return -1;
    qsizetype bodyLength = 0;
    for (const QByteArray &line : bytes.left(headEnd).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.toLower().startsWith("content-length:"))
            bodyLength = trimmed.mid(15).trimmed().toLongLong();
    }
    const qsizetype total = headEnd + 4 + bodyLength;
    return bytes.size() >= total ? total : -1;
}

} // namespace

// A plain or TLS connection with blocking reads that give up when the
// server stops.
class RawServer::Peer {
public:
    Peer(RawServer &server, Socket fd, SSL *tls)
        : m_server(server)
        , m_fd(fd)
        , m_tls(tls)
    {
    }
    ~Peer()
    {
        if (m_tls) {
            if (!m_reset)
                SSL_shutdown(m_tls);
            SSL_free(m_tls);
        }
        sockets::close(m_fd);
    }
    // The close sends a reset instead of the orderly end.
    void resetOnClose()
    {
        sockets::resetOnClose(m_fd);
        m_reset = true;
    }
    // Appends what arrives; false at the end of the stream or when stopping.
    bool read(QByteArray &into)
    {
        char chunk[4096];
        if (!(m_tls && SSL_pending(m_tls) > 0) && !m_server.waitReadable(qintptr(m_fd)))
            return false;
        const long n
            = m_tls ? SSL_read(m_tls, chunk, sizeof chunk) : sockets::receive(m_fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        into.append(chunk, qsizetype(n));
        std::lock_guard lock(m_server.m_mutex);
        m_server.m_received.append(chunk, qsizetype(n));
        return true;
    }
    // False when the client is gone.
    bool write(const QByteArray &bytes)
    {
        if (bytes.isEmpty())
            return true;
        if (m_tls)
            return SSL_write(m_tls, bytes.constData(), int(bytes.size())) > 0;
        qsizetype sent = 0;
        while (sent < bytes.size()) {
            const long n = sockets::send(m_fd, bytes.constData() + sent, long(bytes.size() - sent));
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    }

private:
    RawServer &m_server;
    Socket m_fd;
    SSL *m_tls;
    bool m_reset = false;
};

RawServer::RawServer(QList<Reply> replies, const QString &certFile, const QString &keyFile)
    : m_replies(std::move(replies))
{
    if (!certFile.isEmpty()) {
        m_tls = SSL_CTX_new(TLS_server_method());
        if (SSL_CTX_use_certificate_file(m_tls, certFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1
            || SSL_CTX_use_PrivateKey_file(m_tls, keyFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1)
            throw std::runtime_error("test server: cannot load certificate");
    }
    const Socket listener = sockets::tcp();
    m_listen = qintptr(listener);
    Socket wake[2];
    const bool woken = sockets::pair(wake);
    m_wake[0] = qintptr(wake[0]);
    m_wake[1] = qintptr(wake[1]);
    if (listener == sockets::none || !sockets::bindLoopback(listener) || ::listen(listener, 8) != 0 || !woken)
        throw std::runtime_error("test server: cannot listen");
    m_port = sockets::boundPort(listener);
    m_thread = std::thread([this] { run(); });
}

RawServer::~RawServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_releasedChanged.notify_all();
    const char wake = 1;
    sockets::send(socketOf(m_wake[1]), &wake, 1);
    m_thread.join();
    sockets::close(socketOf(m_listen));
    sockets::close(socketOf(m_wake[0]));
    sockets::close(socketOf(m_wake[1]));
    if (m_tls)
        SSL_CTX_free(m_tls);
}

QString RawServer::url(const QString &pathAndQuery) const
{
    return QStringLiteral("%1://127.0.0.1:%2%3")
        .arg(m_tls ? u"https" : u"http")
        .arg(m_port)
        .arg(pathAndQuery);
}

QList<RawServer::Request> RawServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

QByteArray RawServer::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

int RawServer::connections() const
{
    std::lock_guard lock(m_mutex);
    return m_connections;
}

void RawServer::release()
{
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_releasedChanged.notify_all();
}

// True when the socket has data; false when the server is stopping.
bool RawServer::waitReadable(qintptr socket) const
{
    pollfd fds[2] = { { socketOf(socket), POLLIN, 0 }, { socketOf(m_wake[0]), POLLIN, 0 } };
    while (sockets::poll(fds, 2, -1) < 0) { }
    return !m_stopping && (fds[0].revents & (POLLIN | POLLHUP | POLLERR));
}

RawServer::Reply RawServer::nextReply()
{
    std::lock_guard lock(m_mutex);
    return m_replies.isEmpty() ? closeWithoutAnswer() : m_replies.takeFirst();
}

void RawServer::run()
{
    while (waitReadable(m_listen)) {
        const Socket fd = ::accept(socketOf(m_listen), nullptr, nullptr);
        if (fd == sockets::none)
            continue;
        // A client that left while a big answer was being sent ends the send
        // with an error; where the system does not say so (seen under Wine),
        // the send would block the server, and its test, for ever.
        sockets::setSendTimeout(fd, 30);
        int connection = 0;
        {
            std::lock_guard lock(m_mutex);
            connection = ++m_connections;
        }
        SSL *tls = nullptr;
        if (m_tls) {
            sockets::setReceiveTimeout(fd, 5);
            tls = SSL_new(m_tls);
            SSL_set_fd(tls, int(fd)); // OpenSSL's own way with a Windows socket
            if (SSL_accept(tls) != 1) {
                ERR_clear_error();
                SSL_free(tls);
                sockets::close(fd);
                continue;
            }
        }
        Peer peer(*this, fd, tls);
        serve(peer, connection);
    }
}

void RawServer::serve(Peer &peer, int connection)
{
    QByteArray pending;
    for (;;) {
        qsizetype length = requestLength(pending);
        while (length < 0) {
            if (!peer.read(pending))
                return;
            length = requestLength(pending);
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.append({ connection, pending.left(length) });
        }
        pending.remove(0, length);
        const Reply reply = nextReply();
        if (reply.held) {
            std::unique_lock lock(m_mutex);
            m_releasedChanged.wait(lock, [this] { return m_released || m_stopping; });
            if (m_stopping)
                return;
        }
        if (reply.silent) {
            QByteArray ignored;
            while (peer.read(ignored)) { }
            return;
        }
        if (!sendBody(peer, reply))
            return;
        if (reply.reset)
            peer.resetOnClose();
        if (reply.close)
            return;
    }
}

bool RawServer::pause(int ms) const
{
    pollfd wake { socketOf(m_wake[0]), POLLIN, 0 };
    return sockets::poll(&wake, 1, ms) == 0 && !m_stopping;
}

bool RawServer::sendBody(Peer &peer, const Reply &reply)
{
    if (!peer.write(reply.bytes))
        return false;
    for (qint64 i = 0; reply.count < 0 || i < reply.count; ++i) {
        if ((reply.pauseMs > 0 && !pause(reply.pauseMs)) || m_stopping || !peer.write(reply.piece))
            return false;
    }
    return peer.write(reply.tail);
}

quint16 closedLocalPort()
{
    const Socket fd = sockets::tcp();
    sockets::bindLoopback(fd);
    const quint16 port = sockets::boundPort(fd);
    sockets::close(fd);
    return port;
}

StalledListener::StalledListener()
{
    const Socket listener = sockets::tcp();
    m_listen = qintptr(listener);
    if (listener == sockets::none || !sockets::bindLoopback(listener) || ::listen(listener, 0) != 0)
        throw std::runtime_error("test listener: cannot listen");
    m_port = sockets::boundPort(listener);
    // One pending connection fills a queue of length 0; later SYNs are dropped.
    const Socket filler = sockets::tcp();
    m_filler = qintptr(filler);
    sockets::setNonBlocking(filler);
    const sockaddr_in target = sockets::loopback(m_port);
    ::connect(filler, reinterpret_cast<const sockaddr *>(&target), sizeof target);
    pollfd connected { filler, POLLOUT, 0 };
    sockets::poll(&connected, 1, 2000);
}

StalledListener::~StalledListener()
{
    sockets::close(socketOf(m_filler));
    sockets::close(socketOf(m_listen));
}
