#include "app/app_context.h"
#include "app/widgets/window_registry.h"
#include "config/widgets/set_up_window.h"

void registerConfigWindows(WindowRegistry &registry)
{
    registry.insert(QStringLiteral("TSetUP"), [](WindowEnv &env, QWidget *owner, const Login *) -> QDialog * {
        return new TSetUP(env.prompts, env.app.folder(), env.app.settings(), owner);
    });
}
