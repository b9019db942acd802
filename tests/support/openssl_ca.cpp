#include "support/openssl_ca.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <stdexcept>
#include <utility>

namespace {

const QByteArray config = R"([req]
distinguished_name = dn
prompt = no
[dn]
CN = Kelvo Test CA
[ca_ext]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[server_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = $ENV::KELVO_ALT_NAMES
[ca]
default_ca = kelvo_ca
[kelvo_ca]
database = index.txt
unique_subject = no
new_certs_dir = .
serial = serial
certificate = ca.pem
private_key = ca.key
default_md = sha256
policy = any
copy_extensions = none
[any]
commonName = supplied
)";

const QStringList newKey { QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
    QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes") };

QString utcText(const QDateTime &at)
{
    return at.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")) + QLatin1Char('Z');
}

} // namespace

OpensslCa::OpensslCa(const QString &folder)
    : m_folder(folder)
{
    for (const auto &[name, content] : { std::pair { "ca.cnf", config },
             std::pair { "index.txt", QByteArray() }, std::pair { "serial", QByteArray("1000\n") } }) {
        QFile f(file(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.flush())
            throw std::runtime_error(std::string("test CA: cannot write ") + name);
    }
    run(QStringList { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-config"),
            QStringLiteral("ca.cnf"), QStringLiteral("-extensions"), QStringLiteral("ca_ext") }
        + newKey
        + QStringList { QStringLiteral("-keyout"), QStringLiteral("ca.key"), QStringLiteral("-out"),
            QStringLiteral("ca.pem"), QStringLiteral("-days"), QStringLiteral("3") });
}

QString OpensslCa::caFile() const
{
    return file(QStringLiteral("ca.pem"));
}

QString OpensslCa::file(const QString &name) const
{
    return QDir(m_folder).filePath(name);
}

QString OpensslCa::run(const QStringList &arguments, const QString &alternativeNames) const
{
    QProcess openssl;
    openssl.setWorkingDirectory(m_folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Read by the configuration's server extensions.
    env.insert(QStringLiteral("KELVO_ALT_NAMES"), alternativeNames);
    // Our configuration for every command, not the machine's (a Windows build
    // of the tool has none where it looks).
    env.insert(QStringLiteral("OPENSSL_CONF"), file(QStringLiteral("ca.cnf")));
    openssl.setProcessEnvironment(env);
    openssl.start(QStringLiteral("openssl"), arguments);
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit
        || openssl.exitCode() != 0)
        throw std::runtime_error("openssl " + arguments.join(QLatin1Char(' ')).toStdString() + ": "
            + openssl.readAllStandardError().toStdString());
    return QString::fromLocal8Bit(openssl.readAllStandardOutput());
}

OpensslCa::Server OpensslCa::issue(
    const QString &name, const QString &alternativeNames, const QString &notBefore, const QString &notAfter)
{
    const QString stem = QStringLiteral("server%1").arg(++m_issued);
    const Server server { file(stem + QStringLiteral(".pem")), file(stem + QStringLiteral(".key")) };
    run(QStringList { QStringLiteral("req"), QStringLiteral("-new") } + newKey
        + QStringList { QStringLiteral("-keyout"), server.keyFile, QStringLiteral("-out"),
            file(stem + QStringLiteral(".csr")), QStringLiteral("-subj"), QStringLiteral("/CN=") + name });
    const QDateTime now = QDateTime::currentDateTimeUtc();
    run({ QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-notext"),
            QStringLiteral("-config"), QStringLiteral("ca.cnf"), QStringLiteral("-extensions"),
            QStringLiteral("server_ext"), QStringLiteral("-startdate"),
            notBefore.isEmpty() ? utcText(now.addDays(-1)) : notBefore, QStringLiteral("-enddate"),
            notAfter.isEmpty() ? utcText(now.addDays(1)) : notAfter, QStringLiteral("-in"),
            file(stem + QStringLiteral(".csr")), QStringLiteral("-out"), server.certFile },
        alternativeNames);
    return server;
}

OpensslCa::Server OpensslCa::selfSigned(const QString &name, const QString &alternativeNames)
{
    const QString stem = QStringLiteral("self%1").arg(++m_issued);
    const Server server { file(stem + QStringLiteral(".pem")), file(stem + QStringLiteral(".key")) };
    run(QStringList { QStringLiteral("req"), QStringLiteral("-x509") } + newKey
        + QStringList { QStringLiteral("-keyout"), server.keyFile, QStringLiteral("-out"), server.certFile,
            QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
            QStringLiteral("/CN=") + name, QStringLiteral("-addext"),
            QStringLiteral("subjectAltName=") + alternativeNames });
    return server;
}
