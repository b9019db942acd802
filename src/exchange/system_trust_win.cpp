#include "exchange/system_trust.h"

#include <QByteArray>
#include <QString>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>

// Windows keeps its trusted authorities in the system's ROOT certificate
// store, where OpenSSL never looks: its default paths are folders of the
// machine that built it, which on a supplier's computer hold nothing, or
// whatever someone put there. So the default paths are never used here; the
// two variables still are, as OpenSSL reads them elsewhere.
void trustSystemAuthorities(SSL_CTX *context)
{
    X509_STORE *store = SSL_CTX_get_cert_store(context);
    // Wide reads of the variables, and UTF-8 names, which OpenSSL opens with
    // wide calls on Windows: any folder name works.
    const QByteArray file = qEnvironmentVariable("SSL_CERT_FILE").toUtf8();
    if (!file.isEmpty())
        X509_STORE_load_file(store, file.constData());
    const QByteArray dir = qEnvironmentVariable("SSL_CERT_DIR").toUtf8();
    if (!dir.isEmpty())
        X509_STORE_load_path(store, dir.constData());

    // The user's view of the ROOT store: Windows shows in it the user's own
    // roots with those of the machine and of the domain's policies.
    if (HCERTSTORE root = CertOpenSystemStoreW(0, L"ROOT")) {
        PCCERT_CONTEXT entry = nullptr;
        while ((entry = CertEnumCertificatesInStore(root, entry)) != nullptr) {
            const unsigned char *der = entry->pbCertEncoded;
            if (X509 *certificate = d2i_X509(nullptr, &der, long(entry->cbCertEncoded))) {
                X509_STORE_add_cert(store, certificate);
                X509_free(certificate);
            }
        }
        CertCloseStore(root, 0);
    }
    // An entry OpenSSL cannot read, or one it holds already, leaves an error
    // behind that must not be taken for the handshake's.
    ERR_clear_error();
}
