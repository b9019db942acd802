// The .xlsx reader on any file: the zip container, the package
// relationships, the workbook, the shared strings and the first worksheet.
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"
#include "support/fuzz_support.h"

#include <QDir>
#include <QFile>

namespace {
QTemporaryDir *folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzSetUp();
    folder = new QTemporaryDir(ramFolderBase() + QStringLiteral("/kelvo-fuzz-XXXXXX"));
    return folder->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = QDir(folder->path()).filePath(QStringLiteral("Cotacao000123.xlsx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(inputBytes(data, size));
    file.close();
    try {
        const Worksheet sheet = readFirstWorksheet(path);
        // Read back as the import does: every cell of the used range.
        for (int row = 0; row < sheet.rowCount() && row < 1000; ++row) {
            for (int col = 0; col < sheet.columnCount() && col < 16; ++col)
                (void)sheet.cell(row, col).text.size();
        }
    } catch (const SpreadsheetError &) {
    }
    return 0;
}
