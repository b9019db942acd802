#include "app/main_workflow.h"

#include "common/text.h"

QString MainWorkflow::fornecedorText() const
{
    return QStringLiteral("Fornec.: ") + m_settings.usuario;
}

InternetStatus MainWorkflow::internetCheck()
{
    if (!m_net.IsConnected())
        return {QStringLiteral("Problemas com a sua Internet"), false};
    const QString problem = m_net.checkkelvo(m_settings.servidor);
    if (!problem.isEmpty())
        m_prompts.message(QStringLiteral("Atenção"), problem);
    // The line keeps "Conectado a" even when the server did not answer.
    return {QStringLiteral("Conectado a ") + m_settings.servidor, problem.isEmpty()};
}

std::optional<Login> MainWorkflow::acceptLogin(bool lok, const QString &edt1, const QString &edt2)
{
    Login typed;
    if (lok)
        typed.login = edt1;
    typed.senha = edt2;
    if (trimControls(typed.login).isEmpty() || trimControls(typed.senha).isEmpty()) {
        m_prompts.message(QStringLiteral("Erro"), QStringLiteral("Login ou Senha inválida...., Tente novamente..."));
        return std::nullopt;
    }
    return typed;
}
