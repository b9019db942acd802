#pragma once

// What the benchmarks share beside the test kit's fakes and store: a count of
// stored rows and the buyer simulator as a server.
#include "store/sqlcipher.h"
#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "support/scripted_transport.h"
#include "support/test_store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <memory>

// The rows a table of the store holds, as the file has them.
inline qint64 storedRows(const Database &db, const QString &table)
{
    Statement count(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    return count.step() ? count.columnInt(0) : -1;
}

// kelvo-buyer-sim serving a state file on a free loopback port, from its
// start until it says where it listens, and stopped when this goes.
class SimServer final {
public:
    explicit SimServer(const QString &statePath)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program(),
            { QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--state"), statePath });
        static const QRegularExpression listening(QStringLiteral("^listening on (http://\\S+)$"));
        while (m_url.isEmpty() && (m_process.canReadLine() || m_process.waitForReadyRead(30000))) {
            const QRegularExpressionMatch m
                = listening.match(QString::fromUtf8(m_process.readLine()).trimmed());
            if (m.hasMatch())
                m_url = m.captured(1);
        }
    }
    ~SimServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    Q_DISABLE_COPY_MOVE(SimServer)

    // The tools are built into bin/ beside the benchmarks' bench/ folder; a
    // path fixed at build time would tie every benchmark's object to one clone.
    static QString program()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/kelvo-buyer-sim");
    }
    const QString &url() const { return m_url; } // empty when it never listened

private:
    QProcess m_process;
    QString m_url;
};
