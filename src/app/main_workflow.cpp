#include "app/main_workflow.h"

#include "common/text.h"

QString MainWorkflow::fornecedorText() const
{
    return QStringLiteral("Fornec.: ") + m_settings.usuario;
}

QString MainWorkflow::internetCheck()
{
    if (!m_net.IsConnected())
        return QStringLiteral("Problemas com a sua Internet");
    const QString status = QStringLiteral("Conectado a ") + m_settings.servidor;
    const QString problem = m_net.checkkelvo(m_settings.servidor);
    if (!problem.isEmpty())
        m_prompts.message(QStringLiteral("Atenção"), problem);
    return status;
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
