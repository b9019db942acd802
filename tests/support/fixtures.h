#pragma once

#include <QString>

// The folders of this build are fixed in support/fixtures.cpp alone: a path of
// one clone on every test's command line would make each object differ between
// clones, and the compiler cache could share none of them.

// A file of the repository, named from its root ("scripts/check-layers").
QString sourcePath(const QString &relative);

// An executable built into the tools' folder ("cotakelvo-cli"), with the
// system's suffix for programs.
QString binPath(const QString &name);

// The helper that holds a lock until it is killed.
QString instanceHolderPath();

// A file committed under tests/, named from that folder ("store/x.db").
inline QString testsFilePath(const QString &relative)
{
    return sourcePath(QStringLiteral("tests/") + relative);
}

// A file committed under tests/fixtures/.
inline QString fixturePath(const QString &name)
{
    return testsFilePath(QStringLiteral("fixtures/") + name);
}
