#pragma once

#include <QString>

// A server address taken apart the way requests are made from it.
struct HttpAddress {
    QString scheme; // "http" or "https", lower case
    QString host; // without the brackets of an IPv6 literal
    quint16 port = 0;
    QString path; // from the first "/" after the host up to and including the last "/"
    QString document; // the rest up to the first "?"
    QString query; // after the first "?", cut at its first "#"
    bool hasQuery = false;

    bool tls() const { return scheme == QLatin1String("https"); }
    bool defaultPort() const { return port == (tls() ? 443 : 80); }
    // The request target: path, document and "?" with the query.
    QString target() const;
    // The value of the Host header: the host (bracketed when IPv6), with
    // ":" and the port when the port is not the scheme's default.
    QString hostHeader() const;
};

// Takes an address apart; throws HttpError ("Unknown Protocol" without a
// known scheme before "://").
HttpAddress parseHttpAddress(const QString &address);

// A query value for a request address: each character as its ISO-8859-1 byte
// ("?" when it has none), unreserved characters as they are, every other byte
// as %XX, so that "&", "#", "+", "%" and blanks reach the server unchanged.
QString percentEncoded(const QString &value);

// The address of a request to a script under "/net/" of the server:
// servidor + "/net/" + script + "?user=" + login + "&pass=" + password, and,
// when parameter is not empty, "&" + parameter + "=" + value. The base
// address is used exactly as it stands; the values are percent-encoded.
QString requestAddress(const QString &servidor, const QString &script, const QString &login,
    const QString &password, const QString &parameter = {}, const QString &value = {});
