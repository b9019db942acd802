#pragma once

#include <QFileInfo>
#include <QString>

// A file committed under tests/fixtures/, found beside this header.
inline QString fixturePath(const QString &name)
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../fixtures/") + name;
}
