#include "exchange/http_address.h"

#include "exchange/http_error.h"

#include <QList>

namespace {

const QString separator = QStringLiteral("://");

quint16 portOf(const QString &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    if (!ok || port == 0 || port > 65535 || text.startsWith(QLatin1Char('+')))
        throw HttpError(QStringLiteral("Porta inválida no endereço do servidor: %1").arg(text));
    return static_cast<quint16>(port);
}

// Splits "host", "host:port", "[v6]" or "[v6]:port".
void takeAuthority(const QString &authority, HttpAddress &address)
{
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            throw HttpError(QStringLiteral("Endereço IPv6 sem \"]\" no endereço do servidor."));
        address.host = authority.mid(1, close - 1);
        const QString rest = authority.mid(close + 1);
        if (rest.startsWith(QLatin1Char(':')))
            portText = rest.mid(1);
        else if (!rest.isEmpty())
            throw HttpError(QStringLiteral("Endereço IPv6 malformado no endereço do servidor."));
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        address.host = colon < 0 ? authority : authority.left(colon);
        if (colon >= 0)
            portText = authority.mid(colon + 1);
    }
    if (address.host.isEmpty())
        throw HttpError(QStringLiteral("Endereço do servidor sem o nome da máquina."));
    address.port = portText.isEmpty() ? (address.tls() ? 443 : 80) : portOf(portText);
}

bool unreserved(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}

} // namespace

QString HttpAddress::target() const
{
    QString result = path + document;
    if (hasQuery && !query.isEmpty())
        result += QLatin1Char('?') + query;
    return result;
}

QString HttpAddress::hostHeader() const
{
    QString result = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (!defaultPort())
        result += QLatin1Char(':') + QString::number(port);
    return result;
}

HttpAddress parseHttpAddress(const QString &text)
{
    const qsizetype schemeEnd = text.indexOf(separator);
    if (schemeEnd < 0)
        throw HttpError(QStringLiteral("Unknown Protocol"));
    HttpAddress address;
    address.scheme = text.left(schemeEnd).toLower();
    if (address.scheme != QLatin1String("http") && address.scheme != QLatin1String("https"))
        throw HttpError(QStringLiteral("Unknown Protocol"));

    QString rest = text.mid(schemeEnd + separator.size());
    const qsizetype queryStart = rest.indexOf(QLatin1Char('?'));
    if (queryStart >= 0) {
        address.hasQuery = true;
        address.query = rest.mid(queryStart + 1);
        const qsizetype fragment = address.query.indexOf(QLatin1Char('#'));
        if (fragment >= 0)
            address.query.truncate(fragment);
        rest.truncate(queryStart);
    }
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));

    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    takeAuthority(slash < 0 ? rest : rest.left(slash), address);
    const QString location = slash < 0 ? QStringLiteral("/") : rest.mid(slash);
    const qsizetype lastSlash = location.lastIndexOf(QLatin1Char('/'));
    address.path = location.left(lastSlash + 1);
    address.document = location.mid(lastSlash + 1);
    return address;
}

QString percentEncoded(const QString &value)
{
    static const char hex[] = "0123456789ABCDEF";
    QString result;
    result.reserve(value.size() * 3);
    for (const char32_t c : value.toUcs4()) {
        if (unreserved(c)) {
            result += QChar(static_cast<char16_t>(c));
            continue;
        }
        const uchar byte = c <= 0xFF ? static_cast<uchar>(c) : uchar('?');
        result += QLatin1Char('%');
        result += QLatin1Char(hex[byte >> 4]);
        result += QLatin1Char(hex[byte & 0xF]);
    }
    return result;
}

QString requestAddress(const QString &servidor, const QString &script, const QString &login,
    const QString &password, const QString &parameter, const QString &value)
{
    QString address = servidor + QStringLiteral("/net/") + script + QStringLiteral("?user=")
        + percentEncoded(login) + QStringLiteral("&pass=") + percentEncoded(password);
    if (!parameter.isEmpty())
        address += QLatin1Char('&') + parameter + QLatin1Char('=') + percentEncoded(value);
    return address;
}
