#include "support/sim_process.h"
#include "support/fixtures.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString SimProcess::program()
{
    return binPath(u"kelvo-buyer-sim"_s);
}

SimProcess::SimProcess(const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program(), arguments);
    static const QRegularExpression generated(u"^generated quotation (\\S+) "_s);
    static const QRegularExpression listening(u"^listening on (https?://127\\.0\\.0\\.1:(\\d+))$"_s);
    while (m_url.isEmpty() && (m_process.canReadLine() || m_process.waitForReadyRead(30000))) {
        while (m_url.isEmpty() && m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (const auto m = generated.match(line); m.hasMatch())
                m_generatedQuotation = m.captured(1);
            if (const auto m = listening.match(line); m.hasMatch()) {
                m_url = m.captured(1);
                m_port = quint16(m.captured(2).toUInt());
            }
        }
    }
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
#ifdef Q_OS_WIN
        // terminate() asks a program's windows to close: a console program
        // has none, so it would wait for nothing.
        m_process.kill();
#else
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
#endif
        m_process.waitForFinished(5000);
    }
}
