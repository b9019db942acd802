#include "exchange/exchange_frame.h"

#include "exchange/http_transport.h"

#include <QScopeGuard>

ExchangeFrame::ExchangeFrame(Prompts &prompts, Connectivity &net, const QString &servidor)
    : m_prompts(prompts)
    , m_net(net)
    , m_servidor(servidor)
{
}

ExchangeFrame::~ExchangeFrame() = default;

bool ExchangeFrame::begin()
{
    m_log = m_prompts.createLog();
    if (!m_net.IsConnected()) {
        m_log->addLine(QStringLiteral("Problema com sua internet, verifique"));
        finish();
        return false;
    }
    m_log->addLine(QStringLiteral("Internet - ok"));
    if (!m_net.checkkelvo(m_servidor).isEmpty()) {
        m_log->addLine(QStringLiteral("O servidor do kelvo está com problemas..."));
        finish();
        return false;
    }
    m_log->addLine(QStringLiteral("Servidor do kelvo - ok "));
    return true;
}

std::optional<QString> ExchangeFrame::request(const std::function<QString()> &send)
{
    try {
        WaitScope wait(m_prompts);
        return send();
    } catch (const std::exception &e) {
        fail(errorText(e));
        return std::nullopt;
    }
}

std::optional<QString> ExchangeFrame::get(HttpTransport &http, const QString &address)
{
    return request(http, [&] { return http.get(address); });
}

std::optional<QString> ExchangeFrame::post(
    HttpTransport &http, const QString &address, const MultipartForm &form)
{
    return request(http, [&] { return http.post(address, form); });
}

std::optional<QString> ExchangeFrame::request(HttpTransport &http, const std::function<QString()> &send)
{
    // The transport outlives this request: the hook goes with it.
    http.setWaitHook([this] { m_prompts.keepAlive(); });
    const auto unhook = qScopeGuard([&http] { http.setWaitHook({}); });
    return request(send);
}

bool ExchangeFrame::attempt(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::exception &e) {
        fail(errorText(e));
        return false;
    }
    return true;
}

void ExchangeFrame::refuse(const QString &caption, const QString &text)
{
    discard();
    m_prompts.message(caption, text);
}

void ExchangeFrame::fail(const QString &text)
{
    discard();
    m_prompts.error(text);
}

void ExchangeFrame::finish()
{
    if (m_log)
        m_log->showModal();
    discard();
}

void ExchangeFrame::discard()
{
    m_log.reset();
}
