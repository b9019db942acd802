#include "support/fixtures.h"

QString sourcePath(const QString &relative)
{
    return QStringLiteral(KELVO_SOURCE_DIR "/") + relative;
}

QString binPath(const QString &name)
{
    return QStringLiteral(KELVO_BIN_DIR "/") + name + QStringLiteral(KELVO_EXE_SUFFIX);
}

QString instanceHolderPath()
{
    return QStringLiteral(KELVO_INSTANCE_HOLDER);
}
