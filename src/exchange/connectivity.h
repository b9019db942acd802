#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

// A server check under way, so that a window keeps answering while the
// server is tried. It answers once, through answered(): empty text when the
// server's host was reached, else the fixed message, which is also the
// answer when no answer came within its time. Destroying it abandons the
// check without waiting for it.
class ServerCheck : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerCheck)

public:
    explicit ServerCheck(std::chrono::milliseconds timeout);
    bool isAnswered() const { return m_answered; }

Q_SIGNALS:
    void answered(const QString &problem);

protected:
    // Gives the answer; later calls do nothing.
    void answer(const QString &problem);

private:
    QTimer m_deadline;
    bool m_answered = false;
};

// The two connectivity checks run before every exchange and by the main
// window's internet check.
class Connectivity {
public:
    virtual ~Connectivity() = default;
    // Whether the machine has a network connection at all.
    virtual bool IsConnected() = 0;
    // Empty text when the server's host can be reached, else the fixed message.
    virtual QString checkkelvo(const QString &servidor) = 0;
    // The same check, answered through the event loop. By default
    // checkkelvo() runs on the loop's next turn, which suits a check that
    // answers at once; one that can wait on the network does its own.
    virtual std::unique_ptr<ServerCheck> startCheckkelvo(const QString &servidor);
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
    // The connection is tried without blocking; the check answers when it
    // is made, refused, or the time-out has passed.
    std::unique_ptr<ServerCheck> startCheckkelvo(const QString &servidor) override;

private:
    std::chrono::milliseconds m_timeout;
};

// Host and port of a server base address ("http://host:port/path"), with the
// scheme's default port; false when the address has no "://" or no host.
bool serverEndpoint(const QString &servidor, QString *host, quint16 *port);
