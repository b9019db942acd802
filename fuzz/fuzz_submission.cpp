// "Envia-las Agora?" on any pair of answers: the delivery check of
// verificaentrega.php, then the answer to the posted items. The input holds
// both, cut at its first NUL byte.
#include "quotations/quotation_submission.h"
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
    addQuotation(store->dm(), QStringLiteral("000123"), QStringLiteral("Enviar"));
    addQuotationItem(store->dm(), QStringLiteral("000123"));

    const QByteArray input = inputBytes(data, size);
    const qsizetype cut = input.indexOf('\0');
    YesPrompts prompts;
    OnlineNet net;
    AnswerTransport http;
    http.answers = { answerText(cut < 0 ? input : input.left(cut)),
        answerText(cut < 0 ? QByteArray() : input.mid(cut + 1)) };
    QuotationSubmission workflow(prompts, store->dm(), net, http, FuzzServer);
    workflow.setLogin({ QStringLiteral("FORNEC"), QStringLiteral("SENHA") });
    workflow.listReady();
    if (workflow.select(QStringLiteral("000123")))
        workflow.sendSelected();
    workflow.closeList();
    return 0;
}
