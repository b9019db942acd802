#pragma once

#include <QString>

// A file committed under tests/, named from that folder ("store/x.db"). The
// folder comes from the build, not from __FILE__: a compiler cache with a base
// folder makes __FILE__ relative to wherever the compiler ran.
inline QString testsFilePath(const QString &relative)
{
    return QStringLiteral(KELVO_TESTS_DIR "/") + relative;
}

// A file committed under tests/fixtures/.
inline QString fixturePath(const QString &name)
{
    return testsFilePath(QStringLiteral("fixtures/") + name);
}
