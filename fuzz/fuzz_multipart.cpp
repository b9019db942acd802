// The buyer simulator's reading of a posted form. The first line of the
// input is the request's Content-Type, the rest its body.
#include "buyersim/multipart_form.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = inputBytes(data, size);
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray contentType = lineEnd < 0 ? input : input.left(lineEnd);
    const QByteArray body = lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1);
    const buyersim::FormParse form = buyersim::parseForm(body, buyersim::formBoundary(contentType));
    for (const buyersim::FormField &field : form.fields)
        (void)field.value.size();
    return 0;
}
