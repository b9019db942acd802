#include "support/test_certificate.h"

#include <QDir>
#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + what);
}

void addExtension(X509 *cert, int nid, const QString &value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.toLatin1().constData());
    check(extension && X509_add_ext(cert, extension, -1) == 1, "extension");
    X509_EXTENSION_free(extension);
}

void writePem(const QString &path, const std::function<int(FILE *)> &write)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "w");
    check(file != nullptr, "open");
    const int ok = write(file);
    std::fclose(file);
    check(ok == 1, "write");
}

} // namespace

TestCertificate makeSelfSignedCertificate(
    const QString &folder, const QString &commonName, const QStringList &alternativeNames)
{
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), &EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), &X509_free);
    check(key && cert, "allocation");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME *name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
        reinterpret_cast<const unsigned char *>(commonName.toUtf8().constData()), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    addExtension(cert.get(), NID_basic_constraints, QStringLiteral("critical,CA:TRUE"));
    addExtension(cert.get(), NID_subject_key_identifier, QStringLiteral("hash"));
    if (!alternativeNames.isEmpty())
        addExtension(cert.get(), NID_subject_alt_name, alternativeNames.join(QLatin1Char(',')));
    check(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "sign");

    const TestCertificate files { QDir(folder).filePath(QStringLiteral("cert.pem")),
        QDir(folder).filePath(QStringLiteral("key.pem")) };
    writePem(files.certFile, [&](FILE *f) { return PEM_write_X509(f, cert.get()); });
    writePem(files.keyFile,
        [&](FILE *f) { return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr); });
    return files;
}
