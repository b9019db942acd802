// The answer envelope: lines, the refusal marker, splitt and the record
// fields, on any answer text.
#include "common/text.h"
#include "exchange/envelope.h"
#include "support/fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString answer = answerText(inputBytes(data, size));
    (void)isRefusal(answer);
    (void)isRefusal(trimControls(answer));
    const AnswerLines lines(answer);
    for (qsizetype i = 0; i <= lines.count(); ++i) {
        const QString line = lines.line(i);
        if (line.size() > AnswerLines::MaxLineLength)
            std::abort();
        // Cutting at "|" loses nothing: the fields joined again are the line.
        const QStringList fields = splitt(line, QStringLiteral("|"));
        if (fields.join(QLatin1Char('|')) != line || fields.size() != line.count(QLatin1Char('|')) + 1)
            std::abort();
        try {
            (void)recordFields(line, 26);
        } catch (const std::exception &) {
        }
    }
    // A separator of several characters: the first line of the answer cut at
    // the second.
    if (lines.count() >= 2 && !lines.line(1).isEmpty())
        (void)splitt(lines.line(0), lines.line(1));
    return 0;
}
