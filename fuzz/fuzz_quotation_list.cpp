// "Verificar" of the released quotations on any answer to getcotalib.php:
// the records read, converted and stored.
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
    runWorkflow<ReleasedQuotations>(
        emptyFuzzStore(), { answerText(inputBytes(data, size)) }, [](ReleasedQuotations &w) {
            if (w.openTables())
                w.fetchList();
        });
    return 0;
}
