#include "app/app_context.h"
#include "app/widgets/window_registry.h"
#include "exchange/widgets/submission_window.h"

void registerSubmissionWindows(WindowRegistry &registry)
{
    registry.insert(QStringLiteral("TEnviaCotacao"), [](WindowEnv &env, QWidget *owner, const Login *login) -> QDialog * {
        // A server window: opened only with the credentials typed at the login.
        if (!login)
            return nullptr;
        auto *window = new TEnviaCotacao(env.prompts, env.app.dm(), env.app.net(), env.app.settings().servidor, owner);
        window->setXLogin(login->login);
        window->setXSenha(login->senha);
        return window;
    });
}
