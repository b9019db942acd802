#include "support/scripted_transport.h"

#include "exchange/multipart_form.h"

#include <stdexcept>

QString ScriptedTransport::get(const QString &address)
{
    return answer(address);
}

QString ScriptedTransport::post(const QString &address, const MultipartForm &form)
{
    ++posts;
    (void)form.body();
    return answer(address);
}

QString ScriptedTransport::answer(const QString &address)
{
    addresses << address;
    for (int i = 0; i < waits && waitHook; ++i)
        waitHook();
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
    if (const auto it = answersTo.constFind(address); it != answersTo.cend())
        return *it;
    if (answers.empty())
        return {};
    QString a = answers.front();
    answers.pop_front();
    return a;
}
