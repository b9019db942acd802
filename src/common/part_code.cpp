#include "common/part_code.h"

namespace {

// Besides the hyphen-minus, the dashes a word processor or a pasted web page
// puts in a code.
bool isDash(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || (u >= 0x2010 && u <= 0x2015) || u == 0x2212 || u == 0xFE63 || u == 0xFF0D;
}

bool isIgnored(QChar c)
{
    return c.isSpace() || c == u'.' || c == u'/' || isDash(c);
}

} // namespace

QString brandKey(const QString &marca)
{
    return marca.trimmed().toCaseFolded();
}

QString exactCodeKey(const QString &prodfabr)
{
    return prodfabr.trimmed().toCaseFolded();
}

QString looseCodeKey(const QString &prodfabr)
{
    QString kept;
    kept.reserve(prodfabr.size());
    for (const QChar c : prodfabr) {
        if (!isIgnored(c))
            kept.append(c);
    }
    return kept.toCaseFolded();
}
