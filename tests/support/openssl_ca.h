#pragma once

#include <QString>

// A throw-away certificate authority made with the openssl tool in a folder,
// and server certificates it signs, as a server's administrator makes them.
// Every step that fails throws std::runtime_error with openssl's own words.
class OpensslCa final {
public:
    explicit OpensslCa(const QString &folder);

    struct Server {
        QString certFile;
        QString keyFile;
    };

    // The authority's certificate: what SSL_CERT_FILE points at.
    QString caFile() const;
    // A server certificate signed by the authority for the subject alternative
    // names ("DNS:localhost,IP:127.0.0.1"), valid between two dates given as
    // "YYYYMMDDHHMMSSZ" (empty: from yesterday to tomorrow).
    Server issue(const QString &name, const QString &alternativeNames, const QString &notBefore = {},
        const QString &notAfter = {});
    // A certificate that signs itself, for the names given.
    Server selfSigned(const QString &name, const QString &alternativeNames);

private:
    QString run(const QStringList &arguments,
        const QString &alternativeNames = QStringLiteral("DNS:localhost")) const;
    QString file(const QString &name) const;

    QString m_folder;
    int m_issued = 0;
};
