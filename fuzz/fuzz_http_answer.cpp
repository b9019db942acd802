// The HTTP client reading a server's bytes: status lines, interim answers,
// headers, Content-Length, chunked bodies, bodies read until the close,
// refused statuses and redirections, cookies and the body's charset. Two GETs
// and a POST go through one client, so that a kept connection, the cookies
// it was given and the connection's reuse are read too.
//
// The first byte of the input sets how many bytes each read hands over
// (0: as many as asked for); the rest is what the server sends.
#include "exchange/http_client.h"
#include "exchange/multipart_form.h"
#include "support/fuzz_support.h"

namespace {

class BufferSource final : public HttpByteSource {
public:
    BufferSource(QByteArray bytes, qsizetype slice)
        : m_bytes(std::move(bytes))
        , m_slice(slice)
    {
    }

    void write(const QByteArray &) override { }
    QByteArray read(qsizetype max) override
    {
        const qsizetype n = qMin(m_slice > 0 ? qMin(max, m_slice) : max, m_bytes.size() - m_pos);
        const QByteArray piece = m_bytes.mid(m_pos, n);
        m_pos += n;
        return piece;
    }

private:
    QByteArray m_bytes;
    qsizetype m_slice;
    qsizetype m_pos = 0;
};

template <class Request> void attempt(Request request)
{
    try {
        (void)request();
    } catch (const HttpError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    HttpClient client;
    client.setByteSource(std::make_shared<BufferSource>(inputBytes(data + 1, size - 1), qsizetype(data[0])));
    const QString base = FuzzServer + QStringLiteral("/net/");
    attempt([&] { return client.get(base + QStringLiteral("getcotalib.php?user=FORNEC&pass=SENHA")); });
    attempt(
        [&] { return client.get(base + QStringLiteral("getcotaforn.php?user=FORNEC&pass=SENHA&cota=1")); });
    MultipartForm form;
    form.addField(QStringLiteral("items1"), QStringLiteral("MARIA|000123|06/26/2020|P1|10|1234.5|28 DD||"));
    attempt([&] {
        return client.post(base + QStringLiteral("sendcotaforn.php?user=FORNEC&pass=SENHA&cota=1"), form);
    });
    return 0;
}
