// "Verificar" of the released orders on any answer to getpedlib.php: the
// records read, converted and stored, known orders reported.
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
    // One order already stored, so that the duplicate check has one to find.
    addOrder(dm, QStringLiteral("P1"), QStringLiteral("Atendido"));
    runWorkflow<ReleasedOrders>(dm, { answerText(inputBytes(data, size)) }, [](ReleasedOrders &w) {
        if (w.openTables())
            w.fetchList();
    });
    return 0;
}
