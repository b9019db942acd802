#pragma once

#include "config/login.h"
#include "config/settings.h"
#include "exchange/connectivity.h"
#include "ui/prompts.h"

#include <functional>
#include <memory>
#include <optional>

struct InternetStatus {
    QString text; // what the status line shows
    bool ok = false; // the internet is up and the server answered
};

// What the main window does, with no widget code.
class MainWorkflow final {
public:
    MainWorkflow(Prompts &prompts, Connectivity &net, const Settings &settings)
        : m_prompts(prompts)
        , m_net(net)
        , m_settings(settings)
    {
    }

    // The text of the supplier's label: "Fornec.: " and the stored user name.
    QString fornecedorText() const;

    // The internet check: the status line's text; shows the server check's
    // message when the server cannot be reached. showLine, when given, gets
    // the status line's text before the server is checked, so the line is up
    // while that message shows.
    InternetStatus internetCheck(const std::function<void(const QString &)> &showLine = {});

    // The same check for a window that must keep answering meanwhile: the
    // status line reads checkingText() while the server is tried, then its
    // final text, and the server's message shows if it could not be
    // reached (also when it did not answer in time). showLine is called only
    // while receiver exists. A check still running is abandoned for the new
    // one.
    void startInternetCheck(QObject *receiver, const std::function<void(const QString &)> &showLine);
    bool internetCheckRunning() const { return m_pending != nullptr; }
    static QString checkingText();

    // After the login window closed: the credentials to hand the window, or
    // nothing (with the message shown) when the login or password is empty.
    std::optional<Login> acceptLogin(bool lok, const QString &edt1, const QString &edt2);

private:
    QString statusLine(bool connected) const;
    void reportServer(const QString &problem);

    Prompts &m_prompts;
    Connectivity &m_net;
    const Settings &m_settings;
    std::unique_ptr<ServerCheck> m_pending;
};
