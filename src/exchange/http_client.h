#pragma once

#include "exchange/http_connection.h"
#include "exchange/http_error.h"
#include "exchange/http_transport.h"

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>

class MultipartForm;
class QNetworkCookieJar;

// The HTTP client of a working window: sends GET requests and multipart
// POSTs exactly as the server expects them, keeps the server's cookies and
// its open connection for the window's later requests, and blocks the
// calling thread until the whole answer is read. Failures throw HttpError.
class HttpClient final : public HttpTransport {
public:
    HttpClient();
    ~HttpClient() override;
    Q_DISABLE_COPY_MOVE(HttpClient)

    // The Content-Type line of a GET; "text/html" until changed.
    void setRequestContentType(const QString &type) override { m_contentType = type; }
    const QString &requestContentType() const { return m_contentType; }

    // Called about every 50 ms while a request waits (the GUI repaints).
    void setWaitHook(std::function<void()> hook) override { m_settings.waitHook = std::move(hook); }
    void setConnectTimeout(std::chrono::milliseconds timeout) { m_settings.connectTimeout = timeout; }
    void setIdleTimeout(std::chrono::milliseconds timeout) { m_settings.idleTimeout = timeout; }
    // The idle time-out of a multipart POST (a submission).
    void setSubmissionIdleTimeout(std::chrono::milliseconds timeout)
    {
        m_settings.submissionIdleTimeout = timeout;
    }
    void setAnswerTimeout(std::chrono::milliseconds timeout) { m_settings.answerTimeout = timeout; }
    // An answer that brings fewer than bytes within any window is abandoned.
    void setLowSpeedLimit(quint64 bytes, std::chrono::milliseconds window)
    {
        m_settings.lowSpeedBytes = bytes;
        m_settings.lowSpeedWindow = window;
    }
    void setBodyLimit(quint64 bytes) { m_settings.bodyLimit = bytes; }
    // A PEM file of certificate authorities trusted besides the system's.
    void setCaFile(const QString &path) { m_settings.caFile = path; }
    // Reads the answers from the source instead of the network.
    void setByteSource(std::shared_ptr<HttpByteSource> source) { m_settings.byteSource = std::move(source); }

    // The decoded body of the answer to a GET of the address.
    QString get(const QString &address) override;
    // Posts the form on a new connection; the decoded body of the answer.
    QString post(const QString &address, const MultipartForm &form) override;
    // Drops the connection held open, if any.
    void disconnect();

private:
    QByteArray commonHeaders(const HttpAddress &address) const;
    QString answerText(const HttpAddress &address, const HttpAnswer &answer);

    HttpConnectionSettings m_settings;
    HttpConnection m_connection { m_settings };
    std::unique_ptr<QNetworkCookieJar> m_cookies;
    QString m_contentType = QStringLiteral("text/html");
    bool m_postSent = false;
};
