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
// stores, where OpenSSL never looks: its default paths are folders of the
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

    // The user's own trusted roots, then those of the machine, of the
    // domain's policies and of the enterprise. (Windows shows the user all of
    // them as one store; not every implementation of the API does.)
    for (const DWORD location : { CERT_SYSTEM_STORE_CURRENT_USER, CERT_SYSTEM_STORE_LOCAL_MACHINE,
             CERT_SYSTEM_STORE_CURRENT_USER_GROUP_POLICY, CERT_SYSTEM_STORE_LOCAL_MACHINE_GROUP_POLICY,
             CERT_SYSTEM_STORE_LOCAL_MACHINE_ENTERPRISE }) {
        HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
            location | CERT_STORE_READONLY_FLAG | CERT_STORE_OPEN_EXISTING_FLAG, L"ROOT");
        if (!root)
            continue;
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
