#include "exchange/exchange_frame.h"

#include "exchange/http_client.h"
#include "exchange/multipart_form.h"

ExchangeFrame::ExchangeFrame(Prompts &prompts, Connectivity &net, const QString &servidor)
    : m_prompts(prompts), m_net(net), m_servidor(servidor)
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

std::optional<QString> ExchangeFrame::get(HttpClient &client, const QString &address)
{
    client.setWaitHook([this] { m_prompts.keepAlive(); });
    return request([&] { return client.get(address); });
}

std::optional<QString> ExchangeFrame::post(HttpClient &client, const QString &address, const MultipartForm &form)
{
    client.setWaitHook([this] { m_prompts.keepAlive(); });
    return request([&] { return client.post(address, form); });
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

QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}
