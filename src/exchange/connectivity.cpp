#include "exchange/connectivity.h"

#include <QNetworkInterface>
#include <QTcpSocket>

#include <functional>

namespace {

// A check whose answer is known at once: given on the loop's next turn, when
// whoever started it listens.
class ReadyCheck final : public ServerCheck {
public:
    explicit ReadyCheck(std::function<QString()> check)
        : ServerCheck(std::chrono::milliseconds::zero())
    {
        QTimer::singleShot(0, this, [this, check = std::move(check)] { answer(check()); });
    }
};

// A real connection to the server's host, made without waiting for it.
class SocketCheck final : public ServerCheck {
public:
    SocketCheck(const QString &host, quint16 port, std::chrono::milliseconds timeout)
        : ServerCheck(timeout)
    {
        connect(&m_socket, &QTcpSocket::connected, this, [this] {
            m_socket.abort();
            answer(QString());
        });
        connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { answer(serverProblemText()); });
        QTimer::singleShot(0, this, [this, host, port] { m_socket.connectToHost(host, port); });
    }

private:
    QTcpSocket m_socket;
};

} // namespace

QString serverProblemText()
{
    return QStringLiteral("O servidor da Kelvo está com problemas...");
}

ServerCheck::ServerCheck(std::chrono::milliseconds timeout)
{
    if (timeout > std::chrono::milliseconds::zero()) {
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this] { answer(serverProblemText()); });
        m_deadline.start(timeout);
    }
}

void ServerCheck::answer(const QString &problem)
{
    if (m_answered)
        return;
    m_answered = true;
    m_deadline.stop();
    Q_EMIT answered(problem);
}

std::unique_ptr<ServerCheck> Connectivity::startCheckkelvo(const QString &servidor)
{
    return std::make_unique<ReadyCheck>([this, servidor] { return checkkelvo(servidor); });
}

bool SystemConnectivity::IsConnected()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &nif : interfaces) {
        const auto flags = nif.flags();
        if (flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !nif.addressEntries().isEmpty())
            return true;
    }
    return false;
}

bool serverEndpoint(const QString &servidor, QString *host, quint16 *port)
{
    const QString address = servidor.trimmed();
    const qsizetype sep = address.indexOf(QLatin1String("://"));
    if (sep < 0)
        return false;
    const QString scheme = address.left(sep).toLower();
    QString authority = address.mid(sep + 3);
    authority.replace(QLatin1Char('\\'), QLatin1Char('/'));
    authority = authority.section(QLatin1Char('/'), 0, 0).section(QLatin1Char('?'), 0, 0);
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0)
        authority = authority.mid(at + 1);
    QString h = authority;
    QString p;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        h = authority.mid(1, close - 1);
        if (authority.mid(close + 1).startsWith(QLatin1Char(':')))
            p = authority.mid(close + 2);
    } else if (const qsizetype colon = authority.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        h = authority.left(colon);
        p = authority.mid(colon + 1);
    }
    if (h.isEmpty())
        return false;
    quint16 number = scheme == QLatin1String("https") ? 443 : 80;
    if (!p.isEmpty()) {
        bool ok = false;
        const uint v = p.toUInt(&ok);
        if (!ok || v == 0 || v > 65535)
            return false;
        number = static_cast<quint16>(v);
    }
    *host = h;
    *port = number;
    return true;
}

QString SystemConnectivity::checkkelvo(const QString &servidor)
{
    QString host;
    quint16 port = 0;
    if (!serverEndpoint(servidor, &host, &port))
        return serverProblemText();
    QTcpSocket socket;
    socket.connectToHost(host, port);
    const bool ok = socket.waitForConnected(static_cast<int>(m_timeout.count()));
    socket.abort();
    return ok ? QString() : serverProblemText();
}

std::unique_ptr<ServerCheck> SystemConnectivity::startCheckkelvo(const QString &servidor)
{
    QString host;
    quint16 port = 0;
    if (!serverEndpoint(servidor, &host, &port))
        return std::make_unique<ReadyCheck>([] { return serverProblemText(); });
    return std::make_unique<SocketCheck>(host, port, m_timeout);
}
