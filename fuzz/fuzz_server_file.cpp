// server.new as the program reads it at start, and what the program then does
// with its first line: the server check's host and port and the address of
// every request.
#include "config/server_file.h"
#include "exchange/connectivity.h"
#include "exchange/http_address.h"
#include "exchange/http_error.h"
#include "support/fuzz_support.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzzSetUpWithFolder() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QFile file(fuzzFile(QString::fromUtf16(kServerFileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(inputBytes(data, size));
    file.close();

    const ServerFile read = readServerFile(fuzzFolder());
    if (!read.ok())
        return 0;
    QString host;
    quint16 port = 0;
    (void)serverEndpoint(read.servidor, &host, &port);
    try {
        const HttpAddress address = parseHttpAddress(
            requestAddress(read.servidor, QStringLiteral("getcotaforn.php"), QStringLiteral("FORNEC"),
                QStringLiteral("SENHA"), QStringLiteral("cota"), QStringLiteral("000123")));
        (void)address.target();
        (void)address.hostHeader();
    } catch (const HttpError &) {
    }
    return 0;
}
