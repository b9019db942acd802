#pragma once

#include "exchange/http_transport.h"
#include "support/fake_net.h"
#include "support/test_store.h"

#include <QMap>
#include <QStringList>

#include <deque>
#include <stdexcept>

// Answers GET requests from a script and records the addresses asked for.
class FakeServer final : public HttpTransport {
public:
    QStringList addresses;
    std::deque<QString> answers;
    QString failure; // when set, the next request throws it

    QString post(const QString &, const MultipartForm &) override
    {
        throw std::logic_error("the released quotations post nothing");
    }
    void setRequestContentType(const QString &) override { }
    void setWaitHook(std::function<void()>) override { }
    QString get(const QString &address) override
    {
        addresses << address;
        if (!failure.isEmpty())
            throw std::runtime_error(failure.toStdString());
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

// An item line of the items script with its 26 positions; changes by position.
inline QString itemLine(
    const QString &cotacao, const QString &produto, const QMap<int, QString> &changes = {})
{
    QStringList f { QStringLiteral("ACME"), cotacao, QStringLiteral("01/06/2020"), produto,
        QStringLiteral("PF-") + produto, QStringLiteral("Peça ") + produto, QStringLiteral("UN"),
        QStringLiteral("Gol"), QStringLiteral("BOSCH"), QStringLiteral("10,5"), QString(),
        QStringLiteral("A"), QStringLiteral("ABERTA"), QStringLiteral("G1"), QStringLiteral("L1"),
        QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("4"), QStringLiteral("6,5"),
        QStringLiteral("0"), QStringLiteral("30 dias"), QString(), QString(), QStringLiteral("Loja A"),
        QStringLiteral("Loja B"), QStringLiteral("Loja C") };
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        f[it.key()] = it.value();
    return f.join(QLatin1Char('|'));
}
