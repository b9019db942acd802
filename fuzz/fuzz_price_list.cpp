// A price list file as "Tabela de preços" reads it, a CSV or a workbook told
// apart by its first bytes: every row checked, or the file refused.
#include "quotations/price_list_file.h"
#include "spreadsheet/spreadsheet_error.h"
#include "support/fuzz_support.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzzSetUpWithFolder() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzzFile(QStringLiteral("tabela.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(inputBytes(data, size));
    file.close();
    try {
        (void)readPriceListFile(path);
    } catch (const SpreadsheetError &) {
    }
    return 0;
}
