#include "exchange/http_address.h"
#include "exchange/http_error.h"

#include "support/qstring_printer.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(HttpAddress, TakesAddressesApart)
{
    struct Case {
        const char *address;
        const char *scheme, *host;
        quint16 port;
        const char *path, *document, *target, *hostHeader;
    };
    const Case cases[] = {
        { "http://srv.com.br/net/getcotalib.php?user=a&pass=b", "http", "srv.com.br", 80, "/net/",
            "getcotalib.php", "/net/getcotalib.php?user=a&pass=b", "srv.com.br" },
        { "https://srv:8443/kelvo/net/x.php?a=1", "https", "srv", 8443, "/kelvo/net/", "x.php",
            "/kelvo/net/x.php?a=1", "srv:8443" },
        // The scheme's own port is left out of Host.
        { "http://srv:80/x", "http", "srv", 80, "/", "x", "/x", "srv" },
        { "https://srv:443/x", "https", "srv", 443, "/", "x", "/x", "srv" },
        { "https://srv:80/x", "https", "srv", 80, "/", "x", "/x", "srv:80" },
        { "HTTP://srv", "http", "srv", 80, "/", "", "/", "srv" },
        // A trailing "/" on the base address gives two slashes.
        { "http://srv//net/a.php?user=u", "http", "srv", 80, "//net/", "a.php", "//net/a.php?user=u", "srv" },
        // "#" ends the query; "?" and "/" inside the query are the query's.
        { "http://srv/n/a.php?user=u&pass=x#y&cota=1", "http", "srv", 80, "/n/", "a.php",
            "/n/a.php?user=u&pass=x", "srv" },
        { "http://srv/a.php?p=1/2?3", "http", "srv", 80, "/", "a.php", "/a.php?p=1/2?3", "srv" },
        // Backslashes before the query become slashes, after it they stay.
        { "http://srv\\net\\a.php?p=c:\\x", "http", "srv", 80, "/net/", "a.php", "/net/a.php?p=c:\\x",
            "srv" },
        { "http://[::1]:8080/net/a.php?x=1", "http", "::1", 8080, "/net/", "a.php", "/net/a.php?x=1",
            "[::1]:8080" },
        { "http://[fe80::1]/", "http", "fe80::1", 80, "/", "", "/", "[fe80::1]" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.address);
        const HttpAddress a = parseHttpAddress(s(c.address));
        EXPECT_EQ(a.scheme, s(c.scheme));
        EXPECT_EQ(a.host, s(c.host));
        EXPECT_EQ(a.port, c.port);
        EXPECT_EQ(a.path, s(c.path));
        EXPECT_EQ(a.document, s(c.document));
        EXPECT_EQ(a.target(), s(c.target));
        EXPECT_EQ(a.hostHeader(), s(c.hostHeader));
    }
}

TEST(HttpAddress, RefusesAddressesWithoutKnownScheme)
{
    const auto errorOf
        = [](const char *address) { return thrownMessage([&] { parseHttpAddress(s(address)); }); };
    EXPECT_EQ(errorOf("srv.com.br/net/a.php"), s("Unknown Protocol"));
    EXPECT_EQ(errorOf("ftp://srv/a"), s("Unknown Protocol"));
    EXPECT_EQ(errorOf(""), s("Unknown Protocol"));
    for (const char *bad :
        { "http://srv:0/", "http://srv:99999/", "http://srv:8x/", "http:///net/a.php", "http://[::1/" })
        EXPECT_NE(errorOf(bad), s("(no error)")) << bad;
}

TEST(RequestAddress, PercentEncodesValuesAsLatin1)
{
    const struct {
        const char *value, *encoded;
    } cases[] = {
        { "Fornec01", "Fornec01" },
        { "a-b.c_d~e", "a-b.c_d~e" },
        { "a&b", "a%26b" },
        { "a#b", "a%23b" },
        { "a+b", "a%2Bb" },
        { "100%", "100%25" },
        { "a b", "a%20b" },
        { "ação", "a%E7%E3o" },
        { "€", "%3F" },
        { "😀x", "%3Fx" },
        { "a=b?c/d", "a%3Db%3Fc%2Fd" },
        { "", "" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(percentEncoded(s(c.value)), s(c.encoded)) << c.value;
}

TEST(RequestAddress, ComposesScriptCredentialsAndNumber)
{
    EXPECT_EQ(requestAddress(s("http://srv"), s("getcotalib.php"), s("joao"), s("s3nha")),
        s("http://srv/net/getcotalib.php?user=joao&pass=s3nha"));
    EXPECT_EQ(requestAddress(s("https://srv:8443/k/"), s("getcotaforn.php"), s("jo ão"), s("a&b#c"),
                  s("cota"), s("2020/001")),
        s("https://srv:8443/k//net/getcotaforn.php?user=jo%20%E3o&pass=a%26b%23c&cota=2020%2F001"));
    // Once encoded, a "#" in the password no longer cuts off the number.
    const HttpAddress a = parseHttpAddress(
        requestAddress(s("http://srv"), s("getpedforn.php"), s("u"), s("x#y"), s("ped"), s("77")));
    EXPECT_EQ(a.query, s("user=u&pass=x%23y&ped=77"));
}
