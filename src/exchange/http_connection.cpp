// The only translation unit that sees Boost.Beast and Asio: the transport
// (TCP, TLS, time-outs) and the parsing of answers.

// Boost's debug assertions are off here in every build, as they are in the
// program we ship. The chunked-body parser of the Beast we build with asserts
// that at least five bytes follow the last chunk, which is false when the
// final CR LF arrives in pieces; the code after the assertion rightly waits
// for more. With it on, a debug or sanitizer build aborted on an answer that
// the shipped program reads.
#define BOOST_DISABLE_ASSERTS

#include "exchange/http_connection.h"

#include "exchange/http_error.h"
#include "exchange/system_trust.h"

#include <boost/asio/async_result.hpp>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>

#include <QLocale>

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <deque>
#include <functional>
#include <optional>

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace ssl = net::ssl;
using tcp = net::ip::tcp;
using boost::system::error_code;
using std::chrono::steady_clock;

namespace {

constexpr auto waitSlice = std::chrono::milliseconds(50);
constexpr std::uint32_t headerLimit = 64 * 1024;

using Parser = http::response_parser<http::string_body>;
using PlainStream = beast::tcp_stream;
using SecureStream = beast::ssl_stream<beast::tcp_stream>;

HttpError socketError(int number, const QString &description)
{
    return HttpError(QStringLiteral("Socket Error # %1\r\n%2").arg(number).arg(description));
}

HttpError closedGracefully()
{
    return HttpError(QStringLiteral("Connection Closed Gracefully."));
}

HttpError timedOut()
{
    return socketError(10060, QStringLiteral("Connection timed out."));
}

// The server closed or dropped the connection: for a reused connection this
// means it was closed while idle, and the request may be sent once more.
bool closedByPeer(const error_code &ec)
{
    return ec == http::error::end_of_stream || ec == net::error::eof || ec == net::error::connection_reset
        || ec == net::error::broken_pipe || ec == net::error::connection_aborted
        || ec == ssl::error::stream_truncated;
}

// Socket errors carry the numbers users and support know from Windows; the
// descriptions the supplier may read are Portuguese, but for the few whose
// wording is fixed.
HttpError transportError(const error_code &ec)
{
    if (ec == beast::error::timeout || ec == net::error::timed_out)
        return timedOut();
    if (ec == net::error::connection_refused)
        return socketError(10061, QStringLiteral("Connection refused."));
    if (ec == net::error::host_not_found)
        return socketError(11001, QStringLiteral("Host not found."));
    if (ec == net::error::host_not_found_try_again)
        return socketError(
            11002, QStringLiteral("O nome do servidor não pôde ser encontrado agora; tente de novo."));
    if (ec == net::error::no_data)
        return socketError(11004, QStringLiteral("O nome do servidor existe, mas não tem endereço."));
    if (ec == http::error::end_of_stream || ec == http::error::partial_message || ec == net::error::eof
        || ec == ssl::error::stream_truncated)
        return closedGracefully();
    if (ec == net::error::connection_reset || ec == net::error::broken_pipe)
        return socketError(10054, QStringLiteral("A conexão foi interrompida pelo servidor."));
    if (ec == net::error::connection_aborted)
        return socketError(10053, QStringLiteral("A conexão foi interrompida neste computador."));
    if (ec == net::error::network_down)
        return socketError(10050, QStringLiteral("A rede está fora do ar."));
    if (ec == net::error::network_unreachable)
        return socketError(10051, QStringLiteral("A rede está inacessível."));
    if (ec == net::error::host_unreachable)
        return socketError(10065, QStringLiteral("Não há caminho na rede até o servidor."));
    if (ec.category() == http::make_error_code(http::error::bad_version).category())
        return HttpError(
            QStringLiteral("Resposta inválida do servidor: %1").arg(QString::fromStdString(ec.message())));
    if (ec.category() == net::error::get_ssl_category() || ec.category() == ssl::error::get_stream_category())
        return HttpError(QStringLiteral("Falha na conexão segura (TLS) com o servidor: %1")
                             .arg(QString::fromStdString(ec.message())));
    return socketError(ec.value(), QString::fromStdString(ec.message()) + QLatin1Char('.'));
}

// A certificate the client does not trust: what is wrong with it, in words a
// supplier can take to whoever runs the server, and OpenSSL's own.
HttpError certificateRefused(long verifyResult)
{
    QString reason;
    switch (verifyResult) {
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        reason = QStringLiteral("o certificado não é do servidor do endereço");
        break;
    case X509_V_ERR_CERT_HAS_EXPIRED:
        reason = QStringLiteral("o certificado expirou");
        break;
    case X509_V_ERR_CERT_NOT_YET_VALID:
        reason = QStringLiteral("o certificado ainda não vale (confira a data deste computador)");
        break;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        reason = QStringLiteral("o certificado não foi emitido por uma autoridade certificadora confiável");
        break;
    case X509_V_ERR_CERT_REVOKED:
        reason = QStringLiteral("o certificado foi revogado");
        break;
    default:
        reason = QStringLiteral("o certificado não pôde ser confirmado");
    }
    return HttpError(
        QStringLiteral("Falha na verificação do certificado do servidor: %1 (%2); nada foi enviado.")
            .arg(reason, QString::fromUtf8(X509_verify_cert_error_string(verifyResult))));
}

QString seconds(std::chrono::milliseconds span)
{
    return QLocale().toString(double(span.count()) / 1000.0);
}

QByteArray statusLineOf(const http::response<http::string_body> &response)
{
    QByteArray line = "HTTP/" + QByteArray::number(response.version() / 10) + '.'
        + QByteArray::number(response.version() % 10) + ' '
        + QByteArray::number(response.result_int()).rightJustified(3, '0');
    const auto reason = response.reason();
    if (!reason.empty())
        line += ' ' + QByteArray(reason.data(), qsizetype(reason.size()));
    return line;
}

// A stream over a byte source, for the parser that reads answers from the
// network; its operations complete at once, through the same io_context.
// Not final: Asio tells streams from executors by deriving from them.
class SourceStream {
public:
    using executor_type = net::io_context::executor_type;

    SourceStream(net::io_context &ioc, std::shared_ptr<HttpByteSource> source)
        : m_ioc(ioc)
        , m_source(std::move(source))
    {
    }

    executor_type get_executor() noexcept { return m_ioc.get_executor(); }
    // A buffer neither stalls nor trickles: nothing to time.
    void expires_after(steady_clock::duration) { }
    void expires_at(steady_clock::time_point) { }

    template <class MutableBuffers, class Handler>
    auto async_read_some(const MutableBuffers &buffers, Handler &&handler)
    {
        return net::async_initiate<Handler, void(error_code, std::size_t)>(
            [this](auto completion, const MutableBuffers &into) {
                const QByteArray bytes = m_source->read(qsizetype(net::buffer_size(into)));
                const std::size_t n
                    = net::buffer_copy(into, net::buffer(bytes.constData(), std::size_t(bytes.size())));
                const error_code ec = bytes.isEmpty() ? error_code(net::error::eof) : error_code();
                net::post(
                    m_ioc, [completion = std::move(completion), ec, n]() mutable { completion(ec, n); });
            },
            handler, buffers);
    }

    template <class ConstBuffers, class Handler>
    auto async_write_some(const ConstBuffers &buffers, Handler &&handler)
    {
        return net::async_initiate<Handler, void(error_code, std::size_t)>(
            [this](auto completion, const ConstBuffers &from) {
                QByteArray bytes(qsizetype(net::buffer_size(from)), Qt::Uninitialized);
                net::buffer_copy(net::buffer(bytes.data(), std::size_t(bytes.size())), from);
                m_source->write(bytes);
                const std::size_t n = std::size_t(bytes.size());
                net::post(m_ioc, [completion = std::move(completion), n]() mutable { completion({}, n); });
            },
            handler, buffers);
    }

private:
    net::io_context &m_ioc;
    std::shared_ptr<HttpByteSource> m_source;
};

// A stream that reports the bytes of each read from the stream under it,
// between two of its reads.
template <class Next> class CountingStream {
public:
    using executor_type = typename Next::executor_type;
    using next_layer_type = Next;
    using Report = std::function<void(std::size_t)>;

    CountingStream(Next &next, Report report)
        : m_next(next)
        , m_report(std::move(report))
    {
    }

    Next &next_layer() { return m_next; }
    executor_type get_executor() noexcept { return m_next.get_executor(); }

    template <class MutableBuffers, class Handler>
    auto async_read_some(const MutableBuffers &buffers, Handler &&handler)
    {
        return net::async_initiate<Handler, void(error_code, std::size_t)>(
            [next = &m_next, report = m_report](auto completion, const MutableBuffers &into) {
                // The report is copied: it may run after this object is gone.
                next->async_read_some(
                    into, [report, completion = std::move(completion)](error_code ec, std::size_t n) mutable {
                        if (n > 0)
                            report(n);
                        std::move(completion)(ec, n);
                    });
            },
            handler, buffers);
    }

    template <class ConstBuffers, class Handler>
    auto async_write_some(const ConstBuffers &buffers, Handler &&handler)
    {
        return m_next.async_write_some(buffers, std::forward<Handler>(handler));
    }

private:
    Next &m_next;
    Report m_report;
};

} // namespace

struct HttpConnection::Impl {
    explicit Impl(const HttpConnectionSettings &settings)
        : settings(settings)
    {
    }

    const HttpConnectionSettings &settings;
    net::io_context ioc;
    std::optional<ssl::context> tls;
    QString tlsCaFile;
    std::unique_ptr<PlainStream> plain;
    std::unique_ptr<SecureStream> secure;
    std::unique_ptr<SourceStream> source;
    beast::flat_buffer buffer;
    QString server; // the server of the open connection
    // The longest silence of the request in flight.
    std::chrono::milliseconds idleTimeout { 0 };
    steady_clock::time_point answerDeadline;
    steady_clock::time_point idleDeadline; // of the wait in flight

    // How far the answer in flight has come: the bytes read from the server,
    // and the points (time, bytes so far) that still bound the low-speed
    // window, oldest first; the first is the answer's start with no bytes.
    struct Progress {
        steady_clock::time_point at;
        quint64 bytes;
    };
    quint64 received = 0;
    std::deque<Progress> progress;
    void noteProgress();
    std::optional<steady_clock::time_point> slowDeadline() const;

    // The outcome of the operation in flight. Members, not locals: a handler
    // that runs after a wait was abandoned must not write into a dead frame.
    bool done = false;
    error_code result;
    tcp::resolver::results_type endpoints;

    auto completion()
    {
        done = false;
        result = {};
        return [this](error_code ec, auto &&...) {
            done = true;
            result = ec;
        };
    }

    void wait(tcp::resolver *resolver = nullptr, std::optional<steady_clock::time_point> deadline = {});
    void connect(const HttpAddress &address);
    void handshake(const HttpAddress &address, steady_clock::time_point deadline);
    ssl::context &tlsContext();
    void close();

    template <class Stream>
    bool transact(
        Stream &stream, const QByteArray &request, HttpAnswer &answer, bool &anyByte, bool &keepAlive);
    template <class Stream> void readSome(Stream &stream, Parser &parser);
    // The next wait ends at the idle time-out, the answer's deadline or the
    // end of the low-speed window, whichever comes first.
    template <class Stream> void expire(Stream &stream)
    {
        idleDeadline = steady_clock::now() + idleTimeout;
        steady_clock::time_point until = std::min(idleDeadline, answerDeadline);
        if (const auto slow = slowDeadline())
            until = std::min(until, *slow);
        beast::get_lowest_layer(stream).expires_at(until);
    }
};

// Runs the operation in flight to its end on this thread, in slices, calling
// the wait hook between them so that the program can repaint.
void HttpConnection::Impl::wait(tcp::resolver *resolver, std::optional<steady_clock::time_point> deadline)
{
    ioc.restart();
    while (!done) {
        ioc.run_for(waitSlice);
        if (done)
            break;
        if (ioc.stopped())
            throw HttpError(QStringLiteral("Falha interna: operação de rede sem conclusão."));
        // Name resolution has no expiry of its own.
        if (resolver && deadline && steady_clock::now() >= *deadline) {
            resolver->cancel();
            deadline.reset();
        }
        if (settings.waitHook)
            settings.waitHook();
    }
}

ssl::context &HttpConnection::Impl::tlsContext()
{
    if (tls && tlsCaFile == settings.caFile)
        return *tls;
    tls.reset();
    tls.emplace(ssl::context::tls_client);
    SSL_CTX_set_min_proto_version(tls->native_handle(), TLS1_2_VERSION);
    trustSystemAuthorities(tls->native_handle());
    error_code ec;
    if (!settings.caFile.isEmpty()) {
        tls->load_verify_file(settings.caFile.toStdString(), ec);
        if (ec) {
            tls.reset();
            throw HttpError(QStringLiteral("Não foi possível ler o arquivo de certificados %1: %2")
                                .arg(settings.caFile, QString::fromStdString(ec.message())));
        }
    }
    tls->set_verify_mode(ssl::verify_peer);
    tlsCaFile = settings.caFile;
    return *tls;
}

// Name resolution, connection and TLS handshake share one time budget.
void HttpConnection::Impl::connect(const HttpAddress &address)
{
    if (settings.byteSource) {
        source = std::make_unique<SourceStream>(ioc, settings.byteSource);
        return;
    }
    const auto deadline = steady_clock::now() + settings.connectTimeout;
    const std::string host = address.host.toStdString();
    {
        tcp::resolver resolver(ioc);
        done = false;
        result = {};
        resolver.async_resolve(host, std::to_string(address.port), tcp::resolver::numeric_service,
            [this](error_code ec, tcp::resolver::results_type found) {
                done = true;
                result = ec;
                endpoints = std::move(found);
            });
        wait(&resolver, deadline);
    }
    if (result == net::error::operation_aborted)
        throw timedOut();
    if (result)
        throw transportError(result);

    if (address.tls()) {
        secure = std::make_unique<SecureStream>(ioc, tlsContext());
        beast::get_lowest_layer(*secure).expires_at(deadline);
        beast::get_lowest_layer(*secure).async_connect(endpoints, completion());
    } else {
        plain = std::make_unique<PlainStream>(ioc);
        plain->expires_at(deadline);
        plain->async_connect(endpoints, completion());
    }
    wait();
    if (result)
        throw transportError(result);
    if (address.tls())
        handshake(address, deadline);
}

void HttpConnection::Impl::handshake(const HttpAddress &address, steady_clock::time_point deadline)
{
    SSL *native = secure->native_handle();
    const std::string host = address.host.toStdString();
    error_code notIp;
    net::ip::make_address(host, notIp);
    if (notIp) {
        SSL_set_tlsext_host_name(native, host.c_str());
        SSL_set1_host(native, host.c_str());
    } else {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(native), host.c_str());
    }
    beast::get_lowest_layer(*secure).expires_at(deadline);
    secure->async_handshake(ssl::stream_base::client, completion());
    wait();
    if (!result)
        return;
    const long verify = SSL_get_verify_result(native);
    if (verify != X509_V_OK)
        throw certificateRefused(verify);
    throw transportError(result);
}

void HttpConnection::Impl::close()
{
    // An operation may still be in flight when a wait was abandoned: cancel
    // it and let its handlers finish while the streams they use still exist.
    if (secure)
        beast::get_lowest_layer(*secure).close();
    if (plain)
        plain->close();
    ioc.restart();
    ioc.poll();
    secure.reset();
    plain.reset();
    source.reset();
    buffer.clear();
    server.clear();
    ioc.restart();
    ioc.poll();
}

// The window counts from the first byte of the answer: before it, a server
// may take its time (the idle time-out), as one storing a submission.
// Beyond lowSpeedBytes back, a point no longer bounds any window.
void HttpConnection::Impl::noteProgress()
{
    const auto now = steady_clock::now();
    if (settings.lowSpeedBytes == 0 || received == 0)
        return;
    if (progress.empty())
        progress.push_back({ now, 0 });
    if (received > progress.back().bytes)
        progress.push_back({ now, received });
    while (progress.front().bytes + settings.lowSpeedBytes <= received)
        progress.pop_front();
}

// When the bytes of the last window fall under the limit if nothing more
// arrives: the window then no longer reaches back to the earliest point
// within lowSpeedBytes of what has arrived.
std::optional<steady_clock::time_point> HttpConnection::Impl::slowDeadline() const
{
    if (progress.empty())
        return std::nullopt;
    return progress.front().at + settings.lowSpeedWindow;
}

template <class Stream> void HttpConnection::Impl::readSome(Stream &stream, Parser &parser)
{
    expire(stream);
    // The parser waits for a whole header line or chunk size before it
    // returns: every read from the server renews the time-outs meanwhile.
    CountingStream<Stream> counted(stream, [this, &stream](std::size_t bytes) {
        received += bytes;
        noteProgress();
        expire(stream);
    });
    http::async_read_some(counted, buffer, parser, completion());
    wait();
    // A TLS server that closes without a close_notify ends its answer the
    // way a plain one does by closing.
    if (result == ssl::error::stream_truncated) {
        if (parser.got_some()) {
            result = {};
            parser.put_eof(result);
        } else {
            result = http::error::end_of_stream;
        }
    }
}

// Sends the request and reads the final answer, skipping interim ones.
// False, with result set, when either failed.
template <class Stream>
bool HttpConnection::Impl::transact(
    Stream &stream, const QByteArray &request, HttpAnswer &answer, bool &anyByte, bool &keepAlive)
{
    anyByte = false;
    answerDeadline = steady_clock::now() + settings.answerTimeout;
    received = 0;
    progress.clear();
    expire(stream);
    net::async_write(stream, net::buffer(request.constData(), std::size_t(request.size())), completion());
    wait();
    if (result)
        return false;
    for (;;) {
        Parser parser;
        parser.header_limit(headerLimit);
        parser.body_limit(settings.bodyLimit);
        parser.get().result(0); // tells whether a status line was read
        while (!parser.is_done()) {
            readSome(stream, parser);
            anyByte = anyByte || parser.got_some() || buffer.size() > 0;
            if (result) {
                answer.status = parser.get().result_int();
                if (answer.status != 0)
                    answer.statusLine = statusLineOf(parser.get());
                return false;
            }
        }
        const auto &response = parser.get();
        const int status = response.result_int();
        if (status >= 100 && status < 200 && status != 101)
            continue;
        answer.status = status;
        answer.statusLine = statusLineOf(response);
        for (const auto &field : response) {
            const auto name = field.name_string();
            const auto value = field.value();
            answer.headers.append({ QByteArray(name.data(), qsizetype(name.size())),
                QByteArray(value.data(), qsizetype(value.size())) });
        }
        answer.body = QByteArray(response.body().data(), qsizetype(response.body().size()));
        keepAlive = response.keep_alive() && !parser.need_eof();
        return true;
    }
}

HttpConnection::HttpConnection(const HttpConnectionSettings &settings)
    : d(std::make_unique<Impl>(settings))
{
}

HttpConnection::~HttpConnection()
{
    d->close();
}

bool HttpConnection::isOpen() const
{
    return d->plain || d->secure || d->source;
}

void HttpConnection::close()
{
    d->close();
}

HttpAnswer HttpConnection::exchange(const HttpAddress &address, const QByteArray &request, Kind kind)
{
    const QString server
        = address.scheme + QLatin1Char('|') + address.host + QLatin1Char('|') + QString::number(address.port);
    const bool idempotent = kind == Kind::Idempotent;
    d->idleTimeout = idempotent ? d->settings.idleTimeout : d->settings.submissionIdleTimeout;
    try {
        for (int attempt = 0;; ++attempt) {
            const bool reused = idempotent && attempt == 0 && isOpen() && d->server == server;
            if (!reused) {
                d->close();
                d->connect(address);
                d->server = server;
            }
            HttpAnswer answer;
            bool anyByte = false;
            bool keepAlive = false;
            const bool ok = d->secure ? d->transact(*d->secure, request, answer, anyByte, keepAlive)
                : d->source           ? d->transact(*d->source, request, answer, anyByte, keepAlive)
                                      : d->transact(*d->plain, request, answer, anyByte, keepAlive);
            if (ok) {
                if (!keepAlive)
                    d->close();
                return answer;
            }
            if (reused && !anyByte && closedByPeer(d->result)) {
                d->close();
                continue;
            }
            if (d->result == http::error::body_limit) {
                if (answer.status != 0 && answer.status / 100 != 2)
                    throw HttpError(QString::fromLatin1(answer.statusLine));
                throw HttpError(
                    QStringLiteral("A resposta do servidor excede o limite de %1 bytes e foi recusada.")
                        .arg(d->settings.bodyLimit));
            }
            if (d->result == http::error::header_limit)
                throw HttpError(QStringLiteral(
                    "O cabeçalho da resposta do servidor excede o limite de %1 bytes e foi recusado.")
                                    .arg(headerLimit));
            if (d->result == beast::error::timeout) {
                const auto now = steady_clock::now();
                if (now >= d->answerDeadline)
                    throw HttpError(QStringLiteral(
                        "O servidor não terminou a resposta em %1 segundos; ela foi abandonada.")
                                        .arg(seconds(d->settings.answerTimeout)));
                // Silence keeps its own message; a trickle gets this one.
                const auto slow = d->slowDeadline();
                if (now < d->idleDeadline && slow && now >= *slow)
                    throw HttpError(QStringLiteral("A resposta do servidor chega devagar demais (menos de %1 "
                                                   "bytes em %2 segundos); ela foi abandonada.")
                                        .arg(QLocale().toString(d->settings.lowSpeedBytes),
                                            seconds(d->settings.lowSpeedWindow)));
            }
            throw transportError(d->result);
        }
    } catch (...) {
        d->close();
        throw;
    }
}
