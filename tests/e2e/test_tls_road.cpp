// The quotation road over https:// against kelvo-buyer-sim serving a
// certificate of a throw-away authority that SSL_CERT_FILE names, and the
// servers whose certificate is not to be trusted: refused before a byte of
// the request, credentials included, leaves.
#include "buyersim/buyer_state.h"
#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "support/fake_net.h"
#include "support/openssl_ca.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "support/test_store.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const Login Demo { u"DEMO"_s, u"DEMO123"_s };

// Points OpenSSL's default trust at one file for the life of the scope.
class CertFileScope final {
public:
    explicit CertFileScope(const QString &file)
        : m_had(qEnvironmentVariableIsSet("SSL_CERT_FILE"))
        , m_old(qgetenv("SSL_CERT_FILE"))
    {
        qputenv("SSL_CERT_FILE", QFile::encodeName(file));
    }
    ~CertFileScope()
    {
        if (m_had)
            qputenv("SSL_CERT_FILE", m_old);
        else
            qunsetenv("SSL_CERT_FILE");
    }
    CertFileScope(const CertFileScope &) = delete;
    CertFileScope &operator=(const CertFileScope &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

// A supplier's store, and the list of released quotations fetched into it.
struct Supplier : TestStore {
    bool fetch(const QString &servidor)
    {
        HttpClient http;
        ReleasedQuotations released(prompts, dm, net, http, servidor);
        released.setLogin(Demo);
        return released.openTables() && released.fetchList();
    }

    ScriptedPrompts prompts;
    FakeNet net;
};

} // namespace

TEST(TlsRoad, QuotationRoadOverHttps)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    TempFolder pki;
    OpensslCa ca(pki.path());
    const OpensslCa::Server cert = ca.issue(u"localhost"_s, u"DNS:localhost,IP:127.0.0.1"_s);
    TempFolder simDir;
    const QString statePath = simDir.file(u"state.json"_s);
    SimProcess sim({ u"--port"_s, u"0"_s, u"--state"_s, statePath, u"--generate"_s, u"3"_s, u"--tls-cert"_s,
        cert.certFile, u"--tls-key"_s, cert.keyFile });
    ASSERT_TRUE(sim.url().startsWith(u"https://"_s)) << sim.url().toStdString();
    const QString cota = sim.generatedQuotation();
    const CertFileScope trust(ca.caFile());

    // By name, then by address (the certificate names both); the buyer takes
    // one answer per quotation, so only the first sends.
    const QStringList servers { u"https://localhost:%1"_s.arg(sim.port()),
        u"https://127.0.0.1:%1/"_s.arg(sim.port()) };
    for (const QString &servidor : servers) {
        SCOPED_TRACE(servidor.toStdString());
        Supplier supplier;
        ASSERT_TRUE(supplier.fetch(servidor)) << supplier.prompts.transcript().join(u'\n').toStdString();

        HttpClient http;
        ReleasedQuotations released(supplier.prompts, supplier.dm, supplier.net, http, servidor);
        released.setLogin(Demo);
        ASSERT_TRUE(released.openTables());
        ASSERT_TRUE(locateCotacao(supplier.dm.CotaLiberada(), cota));
        supplier.prompts.answers = { true };
        ASSERT_TRUE(released.downloadItems()) << supplier.prompts.transcript().join(u'\n').toStdString();
        EXPECT_EQ(supplier.count(u"CotacaoFornc"_s), 3);
        if (servidor != servers.first())
            continue;

        // Priced and declared ready, as the price entry leaves it.
        supplier.exec(u"UPDATE CotaLiberadas SET TipoStatus = 'Enviar' WHERE Cotacao = ?"_s, { cota });
        supplier.exec(u"UPDATE CotacaoFornc SET VALOR = 12.5 WHERE COTACAO = ?"_s, { cota });

        QuotationSubmission submission(supplier.prompts, supplier.dm, supplier.net, http, servidor);
        submission.setLogin(Demo);
        submission.listReady();
        ASSERT_TRUE(submission.select(cota));
        supplier.prompts.answers = { true };
        EXPECT_EQ(submission.sendSelected(), SubmissionResult::Sent)
            << supplier.prompts.transcript().join(u'\n').toStdString();
    }
    const buyersim::BuyerState after = buyersim::BuyerState::load(statePath);
    ASSERT_EQ(after.envios.size(), 1);
    EXPECT_EQ(after.envios.first().cotacao, cota);
    EXPECT_EQ(after.envios.first().itens.size(), 3);
    EXPECT_EQ(after.envios.first().itens.first().valor, u"12.5"_s);
}

TEST(TlsRoad, UntrustedCertificatesAreRefusedBeforeAnythingIsSent)
{
    TempFolder pki;
    OpensslCa ca(pki.path());
    const CertFileScope trust(ca.caFile());
    const QString prefix = u"[CotaKelvo] Falha na verificação do certificado do servidor: "_s;
    const struct {
        const char *name;
        OpensslCa::Server cert;
        QString host;
        QString box;
    } cases[] = {
        { "another host's name", ca.issue(u"kelvo.example"_s, u"DNS:kelvo.example"_s), u"localhost"_s,
            prefix
                + u"o certificado não é do servidor do endereço (hostname mismatch); nada foi enviado."_s },
        { "another address", ca.issue(u"kelvo.example"_s, u"DNS:kelvo.example,IP:10.0.0.1"_s), u"127.0.0.1"_s,
            prefix
                + u"o certificado não é do servidor do endereço (IP address mismatch); nada foi enviado."_s },
        { "expired", ca.issue(u"localhost"_s, u"DNS:localhost"_s, u"20200101000000Z"_s, u"20200102000000Z"_s),
            u"localhost"_s,
            prefix + u"o certificado expirou (certificate has expired); nada foi enviado."_s },
        { "not valid yet",
            ca.issue(u"localhost"_s, u"DNS:localhost"_s, u"20990101000000Z"_s, u"20990102000000Z"_s),
            u"localhost"_s,
            prefix
                + u"o certificado ainda não vale (confira a data deste computador) (certificate is not yet "
                  u"valid); nada foi enviado."_s },
        { "self-signed, without the authority", ca.selfSigned(u"localhost"_s, u"DNS:localhost"_s),
            u"localhost"_s,
            prefix
                + u"o certificado não foi emitido por uma autoridade certificadora confiável (self-signed "
                  u"certificate); nada foi enviado."_s },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server({ RawServer::answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n") },
            c.cert.certFile, c.cert.keyFile);
        Supplier supplier;
        EXPECT_FALSE(supplier.fetch(u"https://%1:%2"_s.arg(c.host).arg(server.port())));
        EXPECT_EQ(supplier.prompts.boxes(), QStringList { c.box });
        EXPECT_EQ(server.received(), QByteArray());
        EXPECT_GE(server.connections(), 1);
        EXPECT_EQ(supplier.dm.CotaLiberada().rowCount(), 0);
    }
}
