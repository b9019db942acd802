#include "ui/prompts.h"

QString programTitle()
{
    return QStringLiteral("CotaKelvo");
}

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

int Prompts::choose(const QString &, const QString &, const QStringList &, const QList<QStringList> &)
{
    return -1;
}
