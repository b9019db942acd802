#include "config/set_up_workflow.h"

#include "common/text.h"
#include "config/credential_file.h"

SetUpWorkflow::SetUpWorkflow(Prompts &prompts, QString folder, Settings &settings)
    : m_prompts(prompts)
    , m_folder(std::move(folder))
    , m_settings(settings)
{
}

bool SetUpWorkflow::save(const QString &user, const QString &password)
{
    if (trimControls(user).isEmpty() || trimControls(password).isEmpty()) {
        m_prompts.message(
            QStringLiteral("Atenção"), QStringLiteral("Nem usuário, nem senha pode está em branco...."));
        return false;
    }
    if (const auto error = writeCredentials(m_folder, user, password)) {
        m_prompts.error(*error);
        return false;
    }
    m_settings.usuario = user;
    m_settings.senha = password;
    return true;
}
