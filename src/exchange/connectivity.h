#pragma once

#include <QString>

#include <chrono>

// The two connectivity checks run before every exchange and by the main
// window's internet check.
class Connectivity {
public:
    virtual ~Connectivity() = default;
    // Whether the machine has a network connection at all.
    virtual bool IsConnected() = 0;
    // Empty text when the server's host can be reached, else the fixed message.
    virtual QString checkkelvo(const QString &servidor) = 0;
};

// The message of a server that cannot be reached.
QString serverProblemText();

// Portable checks: a network interface other than loopback that is up and
// running, and a real TCP connection to the host and port of the address.
class SystemConnectivity final : public Connectivity {
public:
    explicit SystemConnectivity(std::chrono::milliseconds timeout = std::chrono::seconds(10))
        : m_timeout(timeout)
    {
    }
    bool IsConnected() override;
    QString checkkelvo(const QString &servidor) override;

private:
    std::chrono::milliseconds m_timeout;
};

// Host and port of a server base address ("http://host:port/path"), with the
// scheme's default port; false when the address has no "://" or no host.
bool serverEndpoint(const QString &servidor, QString *host, quint16 *port);
