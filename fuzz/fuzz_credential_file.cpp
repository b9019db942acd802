// userkelvo.new as the program reads it at start, and Crypt both ways: what
// is enciphered deciphers to itself.
#include "config/config_error.h"
#include "config/credential_file.h"
#include "config/crypt.h"
#include "support/fuzz_support.h"

#include <QFile>

#include <cstdlib>

namespace {

// Every character from 1 to 254 comes back; others need not.
bool restorable(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 1 || c.unicode() > 254)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzzSetUpWithFolder() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = inputBytes(data, size);
    QFile file(fuzzFile(QString::fromUtf16(kCredentialFileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    (void)readCredentials(fuzzFolder());

    // The input as a typed user name, enciphered with an offset taken from it.
    const QString typed = QString::fromLatin1(bytes);
    const QString enciphered = Crypt(QStringLiteral("C"), typed, quint8(size > 0 ? data[0] : 0));
    QString back;
    try {
        back = Crypt(QStringLiteral("D"), enciphered);
    } catch (const ConfigError &) {
        std::abort(); // our own encipherment must always decipher
    }
    if (restorable(typed) && back != typed)
        std::abort();
    return 0;
}
