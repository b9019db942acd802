#include "app/main_workflow.h"

#include "common/text.h"

QString MainWorkflow::fornecedorText() const
{
    return QStringLiteral("Fornec.: ") + m_settings.usuario;
}

InternetStatus MainWorkflow::internetCheck(const std::function<void(const QString &)> &showLine)
{
    const bool connected = m_net.IsConnected();
    // The line keeps "Conectado a" even when the server does not answer.
    InternetStatus status { connected ? QStringLiteral("Conectado a ") + m_settings.servidor
                                      : QStringLiteral("Problemas com a sua Internet"),
        false };
    if (showLine)
        showLine(status.text);
    if (!connected)
        return status;
    const QString problem = m_net.checkkelvo(m_settings.servidor);
    if (!problem.isEmpty())
        m_prompts.message(QStringLiteral("Atenção"), problem);
    status.ok = problem.isEmpty();
    return status;
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
