#pragma once

#include "app/widgets/window_launcher.h"
#include "app/widgets/window_registry.h"

// Opens the real windows of the program.
class AppLauncher final : public WindowLauncher {
public:
    AppLauncher(AppContext &app, Prompts &prompts);

    LoginAnswer runLogin(QWidget *owner, const QString &usuario, const QString &senha) override;
    bool open(const QString &windowClass, QWidget *owner, const Login *login) override;
    const WindowRegistry &registry() const { return m_registry; }

private:
    WindowEnv m_env;
    WindowRegistry m_registry;
};
