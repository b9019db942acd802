#include "server.h"

#include "buyersim/buyer_service.h"

#include <QTime>

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>

#include <chrono>
#include <csignal>
#include <iostream>
#include <optional>
#include <stdexcept>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace ssl = asio::ssl;
using tcp = asio::ip::tcp;
using boost::system::error_code;

namespace {

constexpr std::uint64_t bodyLimit = 64ull * 1024 * 1024;
constexpr std::uint32_t headerLimit = 64 * 1024;
// Long enough for a supplier's window to reuse its connection between clicks.
constexpr auto idleTimeout = std::chrono::seconds(120);
constexpr auto drainTimeout = std::chrono::seconds(5);
constexpr auto handshakeTimeout = std::chrono::seconds(30);

using PlainStream = beast::tcp_stream;
using SecureStream = beast::ssl_stream<beast::tcp_stream>;

QByteArray bytes(beast::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

void log(const QString &line)
{
    std::cerr << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString() << ' '
              << line.toStdString() << std::endl;
}

// One connection, plain or TLS: requests read one after the other.
template <class Stream> class Session final : public std::enable_shared_from_this<Session<Stream>> {
public:
    template <class... StreamArgs>
    explicit Session(buyersim::BuyerService &service, StreamArgs &&...streamArgs)
        : m_stream(std::forward<StreamArgs>(streamArgs)...)
        , m_service(service)
    {
    }

    void start()
    {
        if constexpr (std::is_same_v<Stream, SecureStream>) {
            beast::get_lowest_layer(m_stream).expires_after(handshakeTimeout);
            m_stream.async_handshake(ssl::stream_base::server,
                beast::bind_front_handler(&Session::onHandshake, shared_from_this()));
        } else {
            readHeader();
        }
    }

private:
    using std::enable_shared_from_this<Session<Stream>>::shared_from_this;

    void onHandshake(error_code ec)
    {
        if (ec) {
            // The client refused the certificate, or spoke no TLS.
            log(QStringLiteral("TLS handshake failed: %1").arg(QString::fromStdString(ec.message())));
            return;
        }
        readHeader();
    }

    void readHeader()
    {
        m_parser.emplace();
        m_parser->body_limit(bodyLimit);
        m_parser->header_limit(headerLimit);
        beast::get_lowest_layer(m_stream).expires_after(idleTimeout);
        http::async_read_header(
            m_stream, m_buffer, *m_parser, beast::bind_front_handler(&Session::onHeader, shared_from_this()));
    }

    void onHeader(error_code ec, std::size_t)
    {
        if (ec)
            return readFailed(ec);
        const auto &request = m_parser->get();
        if (beast::iequals(request[http::field::expect], "100-continue")) {
            m_continue = http::response<http::empty_body> { http::status::continue_, request.version() };
            http::async_write(
                m_stream, *m_continue, beast::bind_front_handler(&Session::onContinue, shared_from_this()));
            return;
        }
        readBody();
    }

    void onContinue(error_code ec, std::size_t)
    {
        if (ec)
            return close();
        readBody();
    }

    void readBody()
    {
        beast::get_lowest_layer(m_stream).expires_after(idleTimeout);
        http::async_read(
            m_stream, m_buffer, *m_parser, beast::bind_front_handler(&Session::onBody, shared_from_this()));
    }

    void onBody(error_code ec, std::size_t)
    {
        if (ec)
            return readFailed(ec);
        const http::request<http::string_body> &request = m_parser->get();
        const buyersim::HttpRequest query { bytes(request.method_string()), bytes(request.target()),
            bytes(request[http::field::content_type]), QByteArray::fromStdString(request.body()) };
        buyersim::HttpAnswer answer;
        try {
            answer = m_service.handle(query);
        } catch (const std::exception &error) {
            answer = { 500, "text/plain; charset=ISO-8859-1", "Erro interno\r\n",
                QString::fromUtf8(error.what()) };
        }
        if (request.method() == http::verb::head)
            answer.body.clear();

        QByteArray path = query.target;
        path.truncate(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
        log(QStringLiteral("%1 %2 -> %3%4")
                .arg(QString::fromLatin1(query.method), QString::fromLatin1(path))
                .arg(answer.status)
                .arg(answer.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(answer.note)));
        respond(answer, request.version(), request.keep_alive());
    }

    // A request that cannot be read gets its status, then the connection ends.
    void readFailed(error_code ec)
    {
        if (ec == http::error::end_of_stream || ec == beast::error::timeout || ec == asio::error::eof
            || ec.category() != http::make_error_code(http::error::bad_target).category())
            return close();
        int status = 400;
        if (ec == http::error::body_limit)
            status = 413;
        else if (ec == http::error::header_limit)
            status = 431;
        log(QStringLiteral("unreadable request -> %1 (%2)")
                .arg(status)
                .arg(QString::fromStdString(ec.message())));
        const QByteArray text = "Requisição inválida: " + QByteArray::fromStdString(ec.message());
        respond({ status, "text/plain; charset=ISO-8859-1", QString::fromUtf8(text).toLatin1() + "\r\n", {} },
            11, false);
    }

    void respond(const buyersim::HttpAnswer &answer, unsigned version, bool keepAlive)
    {
        m_response = {};
        m_response.version(version);
        m_response.result(static_cast<unsigned>(answer.status));
        m_response.set(http::field::server, "kelvo-buyer-sim");
        m_response.set(http::field::content_type, answer.contentType.toStdString());
        m_response.body() = answer.body.toStdString();
        m_response.keep_alive(keepAlive);
        m_response.prepare_payload();
        beast::get_lowest_layer(m_stream).expires_after(idleTimeout);
        http::async_write(
            m_stream, m_response, beast::bind_front_handler(&Session::onWritten, shared_from_this()));
    }

    void onWritten(error_code ec, std::size_t)
    {
        if (ec)
            return close();
        if (!m_response.keep_alive())
            return close();
        readHeader();
    }

    // Half-closes and reads what the client still sends, so that a client in
    // the middle of sending its body reads the answer instead of a reset.
    void close()
    {
        error_code ignored;
        beast::tcp_stream &tcpStream = beast::get_lowest_layer(m_stream);
        tcpStream.socket().shutdown(tcp::socket::shutdown_send, ignored);
        tcpStream.expires_after(drainTimeout);
        drain();
    }

    void drain()
    {
        beast::get_lowest_layer(m_stream).async_read_some(
            asio::buffer(m_scratch), [self = shared_from_this()](error_code ec, std::size_t) {
                if (!ec)
                    self->drain();
            });
    }

    Stream m_stream;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
    std::optional<http::response<http::empty_body>> m_continue;
    http::response<http::string_body> m_response;
    std::array<char, 4096> m_scratch {};
    buyersim::BuyerService &m_service;
};

} // namespace

struct BuyerServer::Impl {
    explicit Impl(buyersim::BuyerService &service)
        : service(service)
    {
    }

    void accept()
    {
        acceptor.async_accept([this](error_code ec, tcp::socket socket) {
            if (!ec) {
                if (tls)
                    std::make_shared<Session<SecureStream>>(service, std::move(socket), *tls)->start();
                else
                    std::make_shared<Session<PlainStream>>(service, std::move(socket))->start();
                accept();
                return;
            }
            if (ec == asio::error::operation_aborted)
                return;
            // Out of descriptors and the like: wait a little instead of spinning.
            log(QStringLiteral("accept failed: %1").arg(QString::fromStdString(ec.message())));
            retry.expires_after(std::chrono::milliseconds(200));
            retry.async_wait([this](error_code) { accept(); });
        });
    }

    buyersim::BuyerService &service;
    asio::io_context context { 1 };
    tcp::acceptor acceptor { context };
    asio::steady_timer retry { context };
    std::optional<ssl::context> tls; // set when serving HTTPS
};

BuyerServer::BuyerServer(buyersim::BuyerService &service, const QString &host, quint16 port,
    const QString &certFile, const QString &keyFile)
    : m_impl(std::make_unique<Impl>(service))
{
    error_code ec;
    if (!certFile.isEmpty()) {
        ssl::context &tls = m_impl->tls.emplace(ssl::context::tls_server);
        tls.set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 | ssl::context::no_sslv3
            | ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
        tls.use_certificate_chain_file(certFile.toStdString(), ec);
        if (ec)
            throw std::runtime_error(
                "cannot read the certificate " + certFile.toStdString() + ": " + ec.message());
        tls.use_private_key_file(keyFile.toStdString(), ssl::context::pem, ec);
        if (ec)
            throw std::runtime_error("cannot read the key " + keyFile.toStdString() + ": " + ec.message());
    }
    tcp::resolver resolver(m_impl->context);
    const auto endpoints = resolver.resolve(host.toStdString(), std::to_string(port),
        tcp::resolver::passive | tcp::resolver::numeric_service, ec);
    if (ec || endpoints.empty())
        throw std::runtime_error("cannot resolve host " + host.toStdString() + ": " + ec.message());
    const tcp::endpoint endpoint = endpoints.begin()->endpoint();
    tcp::acceptor &acceptor = m_impl->acceptor;
    acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec)
        acceptor.bind(endpoint, ec);
    if (!ec)
        acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec)
        throw std::runtime_error("cannot listen on " + endpoint.address().to_string() + ":"
            + std::to_string(port) + ": " + ec.message());
}

BuyerServer::~BuyerServer() = default;

QString BuyerServer::url() const
{
    const tcp::endpoint local = m_impl->acceptor.local_endpoint();
    const QString address = QString::fromStdString(local.address().to_string());
    const QString host = local.address().is_v6() ? QLatin1Char('[') + address + QLatin1Char(']') : address;
    return QStringLiteral("%1://%2:%3").arg(m_impl->tls ? u"https" : u"http", host).arg(local.port());
}

void BuyerServer::run()
{
    asio::signal_set stopSignals(m_impl->context, SIGINT, SIGTERM);
    stopSignals.async_wait([this](error_code, int) { m_impl->context.stop(); });
    m_impl->accept();
    m_impl->context.run();
}
