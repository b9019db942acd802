#include "app/app_context.h"
#include "app/widgets/window_registry.h"
#include "quotations/widgets/price_entry_window.h"
#include "quotations/widgets/released_quotations_window.h"

void registerQuotationWindows(WindowRegistry &registry)
{
    registry.insert(QStringLiteral("TFCotaLib"), [](WindowEnv &env, QWidget *owner, const Login *login) -> QDialog * {
        auto *window = new TFCotaLib(env.prompts, env.app.dm(), env.app.net(), env.app.settings().servidor, owner);
        if (login) {
            window->setXLogin(login->login);
            window->setXSenha(login->senha);
        }
        return window;
    });
    registry.insert(QStringLiteral("TPrecoCota"), [](WindowEnv &env, QWidget *owner, const Login *) -> QDialog * {
        return new TPrecoCota(env.prompts, env.app.dm(), owner);
    });
}
