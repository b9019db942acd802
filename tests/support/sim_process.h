#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// kelvo-buyer-sim started as a separate process; the constructor returns once
// it prints its "listening on" line or ends. Stopped when destroyed.
class SimProcess final {
public:
    explicit SimProcess(const QStringList &arguments);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    static QString program();

    // "http://127.0.0.1:PORT" ("https://" with --tls-cert), empty when the
    // server did not start.
    const QString &url() const { return m_url; }
    quint16 port() const { return m_port; }
    // The quotation a --generate run added, when one did.
    const QString &generatedQuotation() const { return m_generatedQuotation; }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_url;
    quint16 m_port = 0;
    QString m_generatedQuotation;
};
