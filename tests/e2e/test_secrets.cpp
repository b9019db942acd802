// The password, the store's key and the request's query string never reach
// what the supplier or a bystander sees: message boxes, log window lines,
// Qt's own messages, and the command-line tool's output, on every failure
// path; and the two secret files are their owner's alone after every write.
#include "exchange/http_address.h"
#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/fake_net.h"
#include "support/fixtures.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "support/test_certificate.h"
#include "support/test_store.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString Password = u"SEGR3D0&KELVO9"_s;

// Each failure text is searched for these.
QStringList secrets()
{
    return { Password, percentEncoded(Password), u"SEGR3D0"_s, QString::fromLatin1(storeKey()), u"pass="_s };
}

void expectNoSecret(const QString &shown)
{
    for (const QString &secret : secrets())
        EXPECT_FALSE(shown.contains(secret, Qt::CaseInsensitive))
            << "\"" << secret.toStdString() << "\" shown in:\n"
            << shown.toStdString();
}

// Qt's warnings, which the program lets through to its error output.
QStringList qtMessages;
void recordQtMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    qtMessages << message;
}

struct Supplier : TestStore {
    ScriptedPrompts prompts;
    FakeNet net;
    HttpClient http;
};

const QByteArray FailedStatus = "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n";
const QByteArray NotHttp = "<html>ERRO</html>\r\n\r\n";

QByteArray okAnswer(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

TEST(Secrets, NoFailureOfAnExchangeShowsThem)
{
    const TempFolder certFolder;
    const TestCertificate selfSigned
        = makeSelfSignedCertificate(certFolder.path(), u"localhost"_s, { u"DNS:localhost"_s });
    using Run = std::function<void(Supplier &, const QString &servidor)>;
    const Run fetchList = [](Supplier &s, const QString &servidor) {
        ReleasedQuotations flow(s.prompts, s.dm, s.net, s.http, servidor);
        flow.setLogin({ u"FORN"_s, Password });
        ASSERT_TRUE(flow.openTables());
        EXPECT_FALSE(flow.fetchList());
    };
    const Run download = [](Supplier &s, const QString &servidor) {
        s.addQuotation(u"C1"_s, u"ABERTA"_s);
        ReleasedQuotations flow(s.prompts, s.dm, s.net, s.http, servidor);
        flow.setLogin({ u"FORN"_s, Password });
        ASSERT_TRUE(flow.openTables());
        s.prompts.answers = { true };
        EXPECT_FALSE(flow.downloadItems());
    };
    const Run send = [](Supplier &s, const QString &servidor) {
        s.addQuotation(u"C1"_s, u"Enviar"_s);
        s.addItem({ .cotacao = u"C1"_s, .produto = u"P1"_s });
        QuotationSubmission flow(s.prompts, s.dm, s.net, s.http, servidor);
        flow.setLogin({ u"FORN"_s, Password });
        flow.listReady();
        s.prompts.answers = { true };
        EXPECT_NE(flow.sendSelected(), SubmissionResult::Sent);
    };

    const struct {
        const char *name;
        QList<RawServer::Reply> replies;
        bool tls;
        Run run;
    } cases[] = {
        { "connection refused", {}, false, fetchList },
        { "refused certificate", { RawServer::answer(okAnswer("")) }, true, fetchList },
        { "closed before answering", { RawServer::closeWithoutAnswer() }, false, fetchList },
        { "not an HTTP answer", { RawServer::answerAndClose(NotHttp) }, false, fetchList },
        { "failed status", { RawServer::answer(FailedStatus) }, false, download },
        { "redirection",
            { RawServer::answer("HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n") }, false,
            fetchList },
        { "date that is none", { RawServer::answer(okAnswer("31/02/2020|C1|10:00|ABERTA|\r\n")) }, false,
            fetchList },
        { "refusal", { RawServer::answer(okAnswer("*Acesso negado")) }, false, download },
        { "item line too short",
            { RawServer::answer(okAnswer("ACME|C1|01/06/2020|P1\r\nBAIXADA COM SUCESSO")) }, false,
            download },
        { "delivery check refused", { RawServer::answer(okAnswer("EDM")) }, false, send },
        { "post failed", { RawServer::answer(okAnswer("OK")), RawServer::answer(FailedStatus) }, false,
            send },
    };
    qtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordQtMessage);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RawServer server(
            c.replies, c.tls ? selfSigned.certFile : QString(), c.tls ? selfSigned.keyFile : QString());
        const QString servidor = c.replies.isEmpty()
            ? u"http://127.0.0.1:%1"_s.arg(closedLocalPort())
            : u"%1://localhost:%2"_s.arg(c.tls ? u"https" : u"http").arg(server.port());
        Supplier supplier;
        c.run(supplier, servidor);
        const QStringList shown = supplier.prompts.transcript();
        EXPECT_FALSE(shown.isEmpty());
        expectNoSecret(shown.join(u'\n'));
    }
    qInstallMessageHandler(previous);
    expectNoSecret(qtMessages.join(u'\n'));
}

namespace {

struct ToolRun {
    int status = -1;
    QString output; // standard output and standard error
};

// cotakelvo-cli as its own process, in the folder.
ToolRun runTool(const TempFolder &dir, const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    tool.setProcessEnvironment(env);
    tool.start(binPath(u"cotakelvo-cli"_s), QStringList { u"--dir"_s, dir.path() } + arguments);
    if (!tool.waitForFinished(120000))
        return {};
    return { tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
        QString::fromUtf8(tool.readAll()) };
}

} // namespace

TEST(Secrets, NoFailureOfTheCommandLineToolPrintsThem)
{
    ASSERT_TRUE(QFileInfo::exists(binPath(u"cotakelvo-cli"_s))) << "build cotakelvo-cli first";
    const TempFolder certFolder;
    const TestCertificate selfSigned
        = makeSelfSignedCertificate(certFolder.path(), u"localhost"_s, { u"DNS:localhost"_s });
    RawServer failing({ RawServer::answer(FailedStatus) });
    RawServer garbage({ RawServer::answerAndClose(NotHttp) });
    RawServer tls({}, selfSigned.certFile, selfSigned.keyFile);

    TempFolder dir;
    createDatabase(dir.file(u"CotaKelvo.new"_s));
    ASSERT_EQ(runTool(dir, { u"set-user"_s, u"FORN"_s, Password }).status, 0);
    const QStringList withPassword { u"--login"_s, u"FORN"_s, u"--password"_s, Password };
    const QStringList fetch { u"quotations"_s, u"fetch"_s };

    QStringList outputs;
    const auto expectFailure = [&](const QStringList &arguments) {
        const ToolRun run = runTool(dir, arguments);
        EXPECT_NE(run.status, 0) << arguments.join(u' ').toStdString();
        outputs << run.output;
    };
    for (const QString &servidor : { u"http://127.0.0.1:%1"_s.arg(closedLocalPort()),
             u"http://127.0.0.1:%1"_s.arg(failing.port()), u"http://127.0.0.1:%1"_s.arg(garbage.port()),
             u"https://localhost:%1"_s.arg(tls.port()), u"kelvo.example/sem/protocolo"_s }) {
        dir.write(u"server.new"_s, servidor.toUtf8() + "\r\n");
        expectFailure(withPassword + fetch);
        expectFailure(fetch); // with the stored credentials
    }
    // Arguments the tool does not take, around a password.
    expectFailure({ u"quotationz"_s, u"fetch"_s, u"--password"_s, Password });
    expectFailure({ u"set-usr"_s, u"FORN"_s, Password });
    expectFailure(fetch + QStringList { u"--password"_s, Password });
    expectFailure({ u"--login"_s, u"FORN"_s, u"--password"_s });
    // A store that the key does not open.
    QFile::remove(dir.file(u"CotaKelvo.new"_s));
    {
        Database other;
        other.open(dir.file(u"CotaKelvo.new"_s), "outra chave", true);
        other.execute(u"CREATE TABLE t (a)"_s);
    }
    expectFailure(withPassword + fetch);
    dir.write(u"CotaKelvo.new"_s, QByteArray(4096, 'x'));
    expectFailure(withPassword + fetch);

    EXPECT_EQ(outputs.size(), 16);
    expectNoSecret(outputs.join(u'\n'));
}

TEST(Secrets, TheSecretFilesAreTheirOwnersAloneAfterEveryWrite)
{
    constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    constexpr QFileDevice::Permissions others
        = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const auto mode = [](const QString &path) {
        return QFile::permissions(path)
            & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    };
    TempFolder dir;
    const QString store = dir.file(u"CotaKelvo.new"_s);
    const QString credentials = dir.file(u"userkelvo.new"_s);

    // Both made by the program.
    ASSERT_EQ(runTool(dir, { u"init-db"_s }).status, 0);
    ASSERT_EQ(runTool(dir, { u"set-user"_s, u"FORN"_s, Password }).status, 0);
    EXPECT_EQ(mode(store), ownerOnly);
    EXPECT_EQ(mode(credentials), ownerOnly);

    // Both copied in readable by anyone, then written.
    ASSERT_TRUE(QFile::setPermissions(store, ownerOnly | others));
    ASSERT_TRUE(QFile::setPermissions(credentials, ownerOnly | others));
    ASSERT_EQ(runTool(dir, { u"set-user"_s, u"FORN"_s, Password }).status, 0);
    EXPECT_EQ(mode(credentials), ownerOnly);
    {
        TDm dm;
        dm.openStore(store);
        // The journal of a write under way holds pages of the store too.
        Transaction tx(dm.Banco());
        addReleasedQuotation(dm.Banco(), u"C1"_s, QString(), QDate(), QTime(), QDate());
        ASSERT_TRUE(QFileInfo::exists(store + u"-journal"_s));
        EXPECT_EQ(mode(store + u"-journal"_s), ownerOnly);
        tx.commit();
        EXPECT_EQ(mode(store), ownerOnly);
    }
    EXPECT_EQ(mode(store), ownerOnly);
    EXPECT_FALSE(QFileInfo::exists(store + u"-journal"_s));
}
