#include "exchange/http_client.h"

#include "exchange/http_address.h"
#include "exchange/http_body_text.h"
#include "exchange/multipart_form.h"

#include <QList>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QUrl>

namespace {

// A request line or header value: one byte per character, "?" above U+007F,
// and no CR, LF or NUL, so that no value can begin a header of its own.
QByteArray headerBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == '\r' || c == '\n' || c == 0)
            continue;
        out += c <= 0x7F ? char(c) : '?';
    }
    return out;
}

QByteArray headerBytes(const QByteArray &bytes)
{
    QByteArray out = bytes;
    out.removeIf([](char c) { return c == '\r' || c == '\n' || c == 0; });
    return out;
}

QUrl cookieUrl(const HttpAddress &address)
{
    QUrl url;
    url.setScheme(address.scheme);
    url.setHost(address.host);
    url.setPort(address.port);
    url.setPath(address.path + address.document);
    return url;
}

} // namespace

HttpClient::HttpClient()
    : m_cookies(std::make_unique<QNetworkCookieJar>())
{
}

HttpClient::~HttpClient() = default;

QByteArray HttpClient::commonHeaders(const HttpAddress &address) const
{
    QByteArray head = "Host: " + headerBytes(address.hostHeader()) + "\r\n";
    head += "Accept: text/html, */*\r\n";
    head += "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
    const QList<QNetworkCookie> cookies = m_cookies->cookiesForUrl(cookieUrl(address));
    if (!cookies.isEmpty()) {
        QByteArrayList pairs;
        for (const QNetworkCookie &cookie : cookies)
            pairs += headerBytes(cookie.toRawForm(QNetworkCookie::NameAndValueOnly));
        head += "Cookie: " + pairs.join("; ") + "\r\n";
    }
    return head;
}

QString HttpClient::get(const QString &address)
{
    const HttpAddress parsed = parseHttpAddress(address);
    QByteArray request = "GET " + headerBytes(parsed.target()) + " HTTP/1.1\r\n";
    if (m_postSent)
        request += "Connection: keep-alive\r\n";
    request += "Content-Type: " + headerBytes(m_contentType) + "\r\n";
    request += commonHeaders(parsed) + "\r\n";
    return answerText(parsed, m_connection.exchange(parsed, request, HttpConnection::Kind::Idempotent));
}

QString HttpClient::post(const QString &address, const MultipartForm &form)
{
    const HttpAddress parsed = parseHttpAddress(address);
    const QByteArray body = form.body();
    QByteArray request = "POST " + headerBytes(parsed.target()) + " HTTP/1.0\r\n";
    request += "Connection: keep-alive\r\n";
    request += "Content-Type: " + headerBytes(form.contentType()) + "\r\n";
    request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    request += commonHeaders(parsed) + "\r\n";
    request += body;
    m_postSent = true;
    return answerText(parsed, m_connection.exchange(parsed, request, HttpConnection::Kind::Submission));
}

void HttpClient::disconnect()
{
    m_connection.close();
}

QString HttpClient::answerText(const HttpAddress &address, const HttpAnswer &answer)
{
    QByteArray contentType;
    const QUrl url = cookieUrl(address);
    for (const auto &[name, value] : answer.headers) {
        if (name.compare("Set-Cookie", Qt::CaseInsensitive) == 0)
            m_cookies->setCookiesFromUrl(QNetworkCookie::parseCookies(value), url);
        else if (name.compare("Content-Type", Qt::CaseInsensitive) == 0)
            contentType = value;
    }
    if (answer.status / 100 != 2)
        throw HttpError(QString::fromLatin1(answer.statusLine));
    return httpBodyText(answer.body, contentType);
}
