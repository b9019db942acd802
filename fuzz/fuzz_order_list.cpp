// "Verificar" of the released orders on any answer to getpedlib.php: the
// records read, converted and stored, known orders reported.
#include "orders/released_orders.h"
#include "store/data_module.h"
#include "support/fuzz_support.h"

namespace {
FuzzStore *store = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUp();
    store = new FuzzStore;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    store->clear();
    // One order already stored, so that the duplicate check has one to find.
    addOrder(store->dm(), QStringLiteral("P1"), QStringLiteral("Atendido"));
    YesPrompts prompts;
    OnlineNet net;
    AnswerTransport http;
    http.answers = { answerText(inputBytes(data, size)) };
    ReleasedOrders workflow(prompts, store->dm(), net, http, FuzzServer);
    workflow.setLogin({ QStringLiteral("FORNEC"), QStringLiteral("SENHA") });
    if (workflow.openTables())
        workflow.fetchList();
    return 0;
}
