#pragma once

#include "app/widgets/window_launcher.h"

#include <QStringList>

#include <memory>

class AppContext;
class Prompts;
class QDialog;

// Opens the real windows of the program: the only place that knows every
// working window and what it is built with.
class AppLauncher final : public WindowLauncher {
public:
    AppLauncher(AppContext &app, Prompts &prompts);

    LoginAnswer runLogin(QWidget *owner, const QString &usuario, const QString &senha) override;
    bool has(const QString &windowClass) const override;
    bool open(const QString &windowClass, QWidget *owner, const Login *login) override;

    // The classes of the working windows this build has.
    static QStringList windowClasses();
    // Builds the working window of that class; null when this build has no
    // such window, or for a server window without the login.
    std::unique_ptr<QDialog> create(const QString &windowClass, QWidget *owner, const Login *login);

private:
    AppContext &m_app;
    Prompts &m_prompts;
};
