// The .xlsx reader on any file: the zip container, the package
// relationships, the workbook, the shared strings, the styles and the first
// worksheet, read as the import reads it and as a caller that picks its
// columns by the titles of row 1 does.
//
// An input that is not a zip ("PK" first) is the XML of a worksheet, its
// shared strings and its styles, separated by NUL bytes, put into a workbook
// here: a change to a part inside a zip rarely survives its checksum, so the
// XML is reached this way.
#include "quotations/spreadsheet_exchange.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"
#include "support/fuzz_support.h"

#include <QFile>

#include <zip.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return fuzzSetUpWithFolder() ? 0 : 1;
}

namespace {

// A workbook of the parts given (an empty one is left out), stored, not
// deflated; false if it could not be written.
bool writeWorkbook(const QString &path, const QList<QByteArray> &parts)
{
    QList<std::pair<const char *, QByteArray>> entries {
        { "_rels/.rels",
            "<Relationships><Relationship Id=\"rId1\" Type=\"x/officeDocument\" "
            "Target=\"xl/workbook.xml\"/></Relationships>" },
        { "xl/workbook.xml",
            "<workbook xmlns:r=\"r\"><sheets><sheet name=\"Cotacao\" r:id=\"rId1\"/></sheets></workbook>" },
        { "xl/sheet.xml", parts.value(0) },
    };
    QByteArray rels = "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"sheet.xml\"/>";
    if (!parts.value(1).isEmpty()) {
        rels += "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"strings.xml\"/>";
        entries.append({ "xl/strings.xml", parts.value(1) });
    }
    if (!parts.value(2).isEmpty()) {
        rels += "<Relationship Id=\"rId3\" Type=\"x/styles\" Target=\"styles.xml\"/>";
        entries.append({ "xl/styles.xml", parts.value(2) });
    }
    entries.append({ "xl/_rels/workbook.xml.rels", rels + "</Relationships>" });
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto &[name, bytes] : entries) {
        zip_fileinfo info {};
        ok = ok && zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 1) == ZIP_OK
            && zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK
            && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzzFile(QStringLiteral("Cotacao000123.xlsx"));
    const QByteArray input = inputBytes(data, size);
    QFile::remove(path);
    if (input.startsWith("PK")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(input);
        file.close();
    } else if (!writeWorkbook(path, input.split('\0'))) {
        return 0;
    }
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
