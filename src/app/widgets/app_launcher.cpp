#include "app/widgets/app_launcher.h"

#include "app/app_context.h"
#include "config/widgets/login_window.h"
#include "config/widgets/set_up_window.h"
#include "orders/widgets/downloaded_orders_window.h"
#include "orders/widgets/released_orders_window.h"
#include "purge/widgets/purge_window.h"
#include "quotations/widgets/price_entry_window.h"
#include "quotations/widgets/released_quotations_window.h"
#include "quotations/widgets/sent_quotations_window.h"
#include "quotations/widgets/submission_window.h"

#include <QLineEdit>

namespace {

struct WindowKind {
    const char *windowClass;
    QDialog *(*make)(AppContext &app, Prompts &prompts, QWidget *owner, const Login *login);
};

// The server windows are opened only with the credentials typed at the login.
template <typename Window>
QDialog *serverWindow(AppContext &app, Prompts &prompts, QWidget *owner, const Login *login)
{
    if (!login)
        return nullptr;
    auto *window = new Window(prompts, app.dm(), app.net(), app.settings().servidor, owner);
    window->setXLogin(login->login);
    window->setXSenha(login->senha);
    return window;
}

const WindowKind kWindows[] = {
    { "TFCotaLib", serverWindow<TFCotaLib> },
    { "TPrecoCota",
        [](AppContext &app, Prompts &prompts, QWidget *owner, const Login *) -> QDialog * {
            return new TPrecoCota(prompts, app.dm(), owner);
        } },
    { "TEnviaCotacao", serverWindow<TEnviaCotacao> },
    { "TApagaDados",
        [](AppContext &app, Prompts &prompts, QWidget *owner, const Login *) -> QDialog * {
            return new TApagaDados(prompts, app.dm(), app.databasePath(), owner);
        } },
    { "TCotasRespEnv",
        [](AppContext &app, Prompts &prompts, QWidget *owner, const Login *) -> QDialog * {
            return new TCotasRespEnv(prompts, app.dm(), owner);
        } },
    { "TPedLib", serverWindow<TPedLib> },
    { "TPedidosBaixados",
        [](AppContext &app, Prompts &prompts, QWidget *owner, const Login *) -> QDialog * {
            return new TPedidosBaixados(prompts, app.dm(), owner);
        } },
    { "TSetUP",
        [](AppContext &app, Prompts &prompts, QWidget *owner, const Login *) -> QDialog * {
            return new TSetUP(prompts, app.folder(), app.settings(), owner);
        } },
};

} // namespace

AppLauncher::AppLauncher(AppContext &app, Prompts &prompts)
    : m_app(app)
    , m_prompts(prompts)
{
}

QStringList AppLauncher::windowClasses()
{
    QStringList classes;
    for (const WindowKind &kind : kWindows)
        classes << QLatin1String(kind.windowClass);
    return classes;
}

bool AppLauncher::has(const QString &windowClass) const
{
    return windowClasses().contains(windowClass);
}

std::unique_ptr<QDialog> AppLauncher::create(const QString &windowClass, QWidget *owner, const Login *login)
{
    for (const WindowKind &kind : kWindows) {
        if (windowClass == QLatin1String(kind.windowClass))
            return std::unique_ptr<QDialog>(kind.make(m_app, m_prompts, owner, login));
    }
    return nullptr;
}

WindowLauncher::LoginAnswer AppLauncher::runLogin(
    QWidget *owner, const QString &usuario, const QString &senha)
{
    TFLogin login(owner);
    login.edt1()->setText(usuario);
    login.edt2()->setText(senha);
    login.exec();
    return { login.lok(), login.edt1()->text(), login.edt2()->text() };
}

bool AppLauncher::open(const QString &windowClass, QWidget *owner, const Login *login)
{
    // Created on demand, shown modally, destroyed as soon as it closes.
    const std::unique_ptr<QDialog> window = create(windowClass, owner, login);
    if (!window)
        return false;
    window->exec();
    return true;
}
