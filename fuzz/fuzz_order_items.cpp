// "Baixar" of a released order on any answer to getpedforn.php: the item
// lines read, converted and stored, the status line judged, and a failed
// download's items deleted again.
#include "orders/released_orders.h"
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
    addOrder(dm, QStringLiteral("P'1"), QStringLiteral("Liberado"));
    runWorkflow<ReleasedOrders>(dm, { answerText(inputBytes(data, size)) }, [](ReleasedOrders &w) {
        if (w.openTables())
            w.downloadItems();
    });
    return 0;
}
