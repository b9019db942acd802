#include "common/part_code.h"

const QList<QChar> &looseCodeIgnored()
{
    static const QList<QChar> ignored { u' ', u'\t', QChar(0x00A0), u'.', u'-', u'/', QChar(0x2010),
        QChar(0x2013), QChar(0x2014), QChar(0x2212) };
    return ignored;
}

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
        if (!looseCodeIgnored().contains(c))
            kept.append(c);
    }
    return kept.toCaseFolded();
}
