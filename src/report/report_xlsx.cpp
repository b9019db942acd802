#include "report/report_xlsx.h"

#include "spreadsheet/xlsx_writer.h"

#include <QList>

#include <algorithm>

using namespace Qt::StringLiterals;

void writeReportXlsx(const PreparedReport &report, const QString &path)
{
    XlsxWriter sheet(path, u"Relatório"_s);
    QList<qsizetype> widths;
    int row = 0;
    for (const PreparedPage &page : report.pages) {
        for (const PreparedLine &line : page.lines) {
            for (int col = 0; col < int(line.items.size()); ++col) {
                const PreparedText &item = line.items[size_t(col)];
                const bool number = item.cell.typeId() == QMetaType::Double;
                if (number)
                    sheet.writeNumber(row, col, item.cell.toDouble(), item.numberFormat);
                else
                    sheet.writeText(row, col, item.cell.toString());
                if (widths.size() <= col)
                    widths.resize(col + 1);
                widths[col] = std::max(widths[col], number ? item.text.size() : item.cell.toString().size());
            }
            ++row;
        }
    }
    for (int col = 0; col < widths.size(); ++col)
        sheet.setColumnWidth(col, double(std::clamp<qsizetype>(widths[col] + 2, 6, 60)));
    sheet.close();
}
