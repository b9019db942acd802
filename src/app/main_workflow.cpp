#include "app/main_workflow.h"

#include "common/text.h"

QString MainWorkflow::fornecedorText() const
{
    return QStringLiteral("Fornec.: ") + m_settings.usuario;
}

QString MainWorkflow::checkingText()
{
    return QStringLiteral("Verificando…");
}

QString MainWorkflow::statusLine(bool connected) const
{
    // The line keeps "Conectado a" even when the server does not answer.
    return connected ? QStringLiteral("Conectado a ") + m_settings.servidor
                     : QStringLiteral("Problemas com a sua Internet");
}

void MainWorkflow::reportServer(const QString &problem)
{
    if (!problem.isEmpty())
        m_prompts.message(QStringLiteral("Atenção"), problem);
}

InternetStatus MainWorkflow::internetCheck(const std::function<void(const QString &)> &showLine)
{
    const bool connected = m_net.IsConnected();
    InternetStatus status { statusLine(connected), false };
    if (showLine)
        showLine(status.text);
    if (!connected)
        return status;
    const QString problem = m_net.checkkelvo(m_settings.servidor);
    reportServer(problem);
    status.ok = problem.isEmpty();
    return status;
}

void MainWorkflow::startInternetCheck(QObject *receiver, const std::function<void(const QString &)> &showLine)
{
    m_pending.reset();
    if (!m_net.IsConnected()) {
        showLine(statusLine(false));
        return;
    }
    showLine(checkingText());
    m_pending = m_net.startCheckkelvo(m_settings.servidor);
    ServerCheck *check = m_pending.get();
    QObject::connect(
        check, &ServerCheck::answered, receiver, [this, check, showLine](const QString &problem) {
            // The check is done with once it answered; it goes when its signal has.
            if (m_pending.get() == check)
                m_pending.release()->deleteLater();
            showLine(statusLine(true));
            reportServer(problem);
        });
}

std::optional<Login> MainWorkflow::acceptLogin(bool lok, const QString &edt1, const QString &edt2)
{
    Login typed;
    if (lok)
        typed.login = edt1;
    typed.senha = edt2;
    if (trimControls(typed.login).isEmpty() || trimControls(typed.senha).isEmpty()) {
        m_prompts.message(
            QStringLiteral("Erro"), QStringLiteral("Login ou Senha inválida...., Tente novamente..."));
        return std::nullopt;
    }
    return typed;
}
