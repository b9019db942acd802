// "Envia-las Agora?" on any pair of answers: the delivery check of
// verificaentrega.php, then the answer to the posted items. The input holds
// both, cut at its first NUL byte.
#include "quotations/quotation_submission.h"
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
    addQuotation(dm, QStringLiteral("000123"), QStringLiteral("Enviar"));
    addQuotationItem(dm, QStringLiteral("000123"));

    const QByteArray input = inputBytes(data, size);
    const qsizetype cut = input.indexOf('\0');
    runWorkflow<QuotationSubmission>(dm,
        { answerText(cut < 0 ? input : input.left(cut)),
            answerText(cut < 0 ? QByteArray() : input.mid(cut + 1)) },
        [](QuotationSubmission &w) {
            w.listReady();
            if (w.select(QStringLiteral("000123")))
                w.sendSelected();
            w.closeList();
        });
    return 0;
}
