#include "app/widgets/app_launcher.h"

#include "config/widgets/login_window.h"

#include <QDialog>
#include <QLineEdit>

#include <memory>

AppLauncher::AppLauncher(AppContext &app, Prompts &prompts) : m_env{app, prompts}
{
    registerConfigWindows(m_registry);
    registerQuotationWindows(m_registry);
    registerSubmissionWindows(m_registry);
}

WindowLauncher::LoginAnswer AppLauncher::runLogin(QWidget *owner, const QString &usuario, const QString &senha)
{
    TFLogin login(owner);
    login.edt1()->setText(usuario);
    login.edt2()->setText(senha);
    login.exec();
    return {login.lok(), login.edt1()->text(), login.edt2()->text()};
}

bool AppLauncher::open(const QString &windowClass, QWidget *owner, const Login *login)
{
    const auto factory = m_registry.constFind(windowClass);
    if (factory == m_registry.constEnd())
        return false;
    // Created on demand, shown modally, destroyed as soon as it closes.
    std::unique_ptr<QDialog> window((*factory)(m_env, owner, login));
    if (!window)
        return false;
    window->exec();
    return true;
}
