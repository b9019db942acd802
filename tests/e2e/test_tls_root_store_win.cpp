// https:// trusted through the Windows certificate store alone: the authority
// that signed kelvo-buyer-sim's certificate is put into the machine's trusted
// root authorities the way Windows programs and administrators do it (the
// Crypto API), with neither SSL_CERT_FILE nor SSL_CERT_DIR set.
#include "exchange/http_client.h"
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "support/fake_net.h"
#include "support/openssl_ca.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "support/test_store.h"

#include <QFile>

#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const Login Demo { u"DEMO"_s, u"DEMO123"_s };

// A variable unset for the life of the scope.
class UnsetScope final {
public:
    explicit UnsetScope(const char *name)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qunsetenv(name);
    }
    ~UnsetScope()
    {
        if (m_had)
            qputenv(m_name, m_old);
    }
    UnsetScope(const UnsetScope &) = delete;
    UnsetScope &operator=(const UnsetScope &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// A certificate (PEM file) among the machine's trusted root authorities for
// the life of the scope.
class TrustedRoot final {
public:
    explicit TrustedRoot(const QString &pemFile)
    {
        QFile file(pemFile);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the authority's certificate");
        const QByteArray pem = file.readAll();
        DWORD size = 0;
        if (!CryptStringToBinaryA(pem.constData(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr,
                &size, nullptr, nullptr))
            throw std::runtime_error("the authority's certificate is not PEM");
        QByteArray der(qsizetype(size), '\0');
        CryptStringToBinaryA(pem.constData(), DWORD(pem.size()), CRYPT_STRING_BASE64HEADER,
            reinterpret_cast<BYTE *>(der.data()), &size, nullptr, nullptr);
        m_store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
        if (!m_store
            || !CertAddEncodedCertificateToStore(m_store, X509_ASN_ENCODING,
                reinterpret_cast<const BYTE *>(der.constData()), DWORD(der.size()),
                CERT_STORE_ADD_REPLACE_EXISTING, &m_entry))
            throw std::runtime_error("cannot add the authority to the ROOT store");
        // A registry-backed store may keep a change to itself until it is
        // committed: other handles on the store, the program's among them,
        // see it only then.
        CertControlStore(m_store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    ~TrustedRoot()
    {
        if (m_entry) {
            CertDeleteCertificateFromStore(m_entry);
            CertControlStore(m_store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        }
        if (m_store)
            CertCloseStore(m_store, 0);
    }
    TrustedRoot(const TrustedRoot &) = delete;
    TrustedRoot &operator=(const TrustedRoot &) = delete;

private:
    HCERTSTORE m_store = nullptr;
    PCCERT_CONTEXT m_entry = nullptr;
};

} // namespace

TEST(TlsRootStore, AnAuthorityInTheWindowsStoreIsTrustedAndOnlyThen)
{
    const UnsetScope noFile("SSL_CERT_FILE");
    const UnsetScope noDir("SSL_CERT_DIR");
    TempFolder pki;
    OpensslCa ca(pki.path());
    const OpensslCa::Server cert = ca.issue(u"localhost"_s, u"DNS:localhost,IP:127.0.0.1"_s);
    TempFolder simDir;
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, simDir.file(u"state.json"_s), u"--generate"_s, u"3"_s,
        u"--tls-cert"_s, cert.certFile, u"--tls-key"_s, cert.keyFile });
    ASSERT_TRUE(sim.url().startsWith(u"https://"_s)) << sim.url().toStdString();
    const QString servidor = u"https://localhost:%1"_s.arg(sim.port());

    const auto fetch = [&](TestStore &store, ScriptedPrompts &prompts) {
        FakeNet net;
        HttpClient http;
        ReleasedQuotations released(prompts, store.dm, net, http, servidor);
        released.setLogin(Demo);
        return released.openTables() && released.fetchList();
    };

    {
        TestStore store;
        ScriptedPrompts prompts;
        EXPECT_FALSE(fetch(store, prompts));
        EXPECT_EQ(prompts.boxes(),
            QStringList {
                u"[CotaKelvo] Falha na verificação do certificado do servidor: o certificado não foi "
                u"emitido por uma autoridade certificadora confiável (unable to get local issuer "
                u"certificate); nada foi enviado."_s });
    }
    {
        const TrustedRoot trusted(ca.caFile());
        TestStore store;
        ScriptedPrompts prompts;
        ASSERT_TRUE(fetch(store, prompts)) << prompts.transcript().join(u'\n').toStdString();
        EXPECT_TRUE(locateCotacao(store.dm.CotaLiberada(), sim.generatedQuotation()));
    }
    // Taken out of the store, it is refused again.
    TestStore store;
    ScriptedPrompts prompts;
    EXPECT_FALSE(fetch(store, prompts));
}
