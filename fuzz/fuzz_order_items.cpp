// "Baixar" of a released order on any answer to getpedforn.php: the item
// lines read, converted and stored, the status line judged, and a failed
// download's items deleted again.
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
    addOrder(store->dm(), QStringLiteral("P'1"), QStringLiteral("Liberado"));
    YesPrompts prompts;
    OnlineNet net;
    AnswerTransport http;
    http.answers = { answerText(inputBytes(data, size)) };
    ReleasedOrders workflow(prompts, store->dm(), net, http, FuzzServer);
    workflow.setLogin({ QStringLiteral("FORNEC"), QStringLiteral("SENHA") });
    if (workflow.openTables())
        workflow.downloadItems();
    return 0;
}
