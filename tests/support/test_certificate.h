#pragma once

#include <QString>
#include <QStringList>

// A self-signed certificate and its key, written as PEM files.
struct TestCertificate {
    QString certFile;
    QString keyFile;
};

// Makes a certificate for the given subject alternative names
// (e.g. "DNS:localhost", "IP:127.0.0.1") in the folder.
TestCertificate makeSelfSignedCertificate(
    const QString &folder, const QString &commonName, const QStringList &alternativeNames);
