// The .xlsx reader on any file: the zip container, the package
// relationships, the workbook, the shared strings, the styles and the first
// worksheet, read as the import reads it and as a caller that picks its
// columns by the titles of row 1 does.
#include "quotations/spreadsheet_exchange.h"
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
        WorksheetReader sheet(path);
        (void)SpreadsheetExchange::priceRows(sheet);
    } catch (const SpreadsheetError &) {
    }
    try {
        // Row 1 whole, then the columns whose titles are not empty.
        WorksheetReader sheet(path);
        QList<int> titled;
        if (sheet.nextRow(ColumnSet::all())) {
            for (int col : sheet.cellColumns()) {
                if (sheet.cell(col).kind == CellKind::Text)
                    titled << col;
            }
        }
        const ColumnSet chosen = ColumnSet::of(titled);
        while (sheet.nextRow(chosen)) {
            for (int col : sheet.cellColumns()) {
                (void)sheet.cell(col).date();
                (void)sheet.cell(col).time();
            }
        }
    } catch (const SpreadsheetError &) {
    }
    return 0;
}
