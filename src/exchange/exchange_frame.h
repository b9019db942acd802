#pragma once

#include "exchange/connectivity.h"
#include "ui/prompts.h"

#include <functional>
#include <memory>
#include <optional>

// The frame every exchange with the server runs in: a fresh log window, the
// internet and server checks, the request with its failure display, and the
// log window shown at the end.
class HttpTransport;
class MultipartForm;

class ExchangeFrame final {
public:
    ExchangeFrame(Prompts &prompts, Connectivity &net, const QString &servidor);
    ~ExchangeFrame();
    ExchangeFrame(const ExchangeFrame &) = delete;
    ExchangeFrame &operator=(const ExchangeFrame &) = delete;

    // Creates the log window and runs both checks, each logging its line. A
    // failed check shows the log, discards it and returns false.
    bool begin();

    LogWindow &log() { return *m_log; }

    // Sends a request. When it throws, the error is shown in the general error
    // box, the log window is discarded unseen, and nothing is returned.
    std::optional<QString> request(const std::function<QString()> &send);

    // The same for a GET or a POST through the window's transport; while the
    // answer is awaited the windows repaint and take no input.
    std::optional<QString> get(HttpTransport &http, const QString &address);
    std::optional<QString> post(HttpTransport &http, const QString &address, const MultipartForm &form);

    // Runs the workflow's work on an answer. When it throws, the error is
    // shown in the general error box, the log window is discarded unseen,
    // and false is returned.
    bool attempt(const std::function<void()> &work);

    // Ends the operation with a message box instead of the log window.
    void refuse(const QString &caption, const QString &text);
    // Ends the operation with the general error box instead of the log window.
    void fail(const QString &errorText);
    // Shows the log window modally and discards it.
    void finish();

private:
    void discard();
    std::optional<QString> request(HttpTransport &http, const std::function<QString()> &send);

    Prompts &m_prompts;
    Connectivity &m_net;
    QString m_servidor;
    std::unique_ptr<LogWindow> m_log;
};
