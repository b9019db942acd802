// "Baixar" of a released quotation on any answer to getcotaforn.php: the item
// lines read, converted and stored, and the status line judged.
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUpWithStore();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TDm &dm = emptyFuzzStore();
    addQuotation(dm, QStringLiteral("000123"), QStringLiteral("ABERTA"));
    runWorkflow<ReleasedQuotations>(dm, { answerText(inputBytes(data, size)) }, [](ReleasedQuotations &w) {
        if (w.openTables())
            w.downloadItems();
    });
    return 0;
}
