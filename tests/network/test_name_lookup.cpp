// Needs the machine's name service, so it runs only on request:
// ctest --test-dir build -L network
#include "exchange/http_client.h"
#include "support/qstring_printer.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

TEST(NameLookup, UnknownHost)
{
    // ".invalid" never resolves; without any name server the lookup fails
    // as a temporary error instead.
    HttpClient client;
    const QString message
        = thrownMessage([&] { client.get(QStringLiteral("http://kelvo.invalid/net/a.php")); });
    EXPECT_TRUE(message == QStringLiteral("Socket Error # 11001\r\nHost not found.")
        || message
            == QStringLiteral(
                "Socket Error # 11002\r\nO nome do servidor não pôde ser encontrado agora; tente de novo."))
        << message.toStdString();
}
