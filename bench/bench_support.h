#pragma once

// What the benchmarks share: prompts that confirm every question and keep
// the last problem shown, and connectivity checks that always pass.
#include "exchange/connectivity.h"
#include "store/sqlcipher.h"
#include "ui/silent_prompts.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <memory>

class BenchPrompts final : public Prompts {
public:
    void message(const QString &caption, const QString &text, PromptIcon) override
    {
        shown = caption + QStringLiteral(": ") + text;
    }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &text) override { shown = text; }
    QString input(const QString &, const QString &, const QString &, int) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return path; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return path; }
    std::unique_ptr<LogWindow> createLog() override { return SilentPrompts().createLog(); }
    void previewReport(ReportPreparation &) override { }

    QString path; // the answer of every file dialog
    QString shown; // the last message or error
};

// The rows a table of the store holds, as the file has them.
inline qint64 storedRows(const Database &db, const QString &table)
{
    Statement count(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    return count.step() ? count.columnInt(0) : -1;
}

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

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
