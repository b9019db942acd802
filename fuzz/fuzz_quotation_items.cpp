// "Baixar" of a released quotation on any answer to getcotaforn.php: the item
// lines read, converted and stored, and the status line judged.
#include "quotations/released_quotations.h"
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
    addQuotation(store->dm(), QStringLiteral("000123"), QStringLiteral("ABERTA"));

    YesPrompts prompts;
    OnlineNet net;
    AnswerTransport http;
    http.answers = { answerText(inputBytes(data, size)) };
    ReleasedQuotations workflow(prompts, store->dm(), net, http, FuzzServer);
    workflow.setLogin({ QStringLiteral("FORNEC"), QStringLiteral("SENHA") });
    if (workflow.openTables())
        workflow.downloadItems();
    return 0;
}
