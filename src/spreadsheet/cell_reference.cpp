#include "spreadsheet/cell_reference.h"

#include "spreadsheet/sheet_limits.h"

QString columnName(int col)
{
    QString name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

QString cellName(int row, int col)
{
    return columnName(col) + QString::number(row + 1);
}

std::optional<CellPosition> parseCellName(QStringView name)
{
    qsizetype i = 0;
    qint64 col = 0;
    for (; i < name.size() && name[i].isLetter() && name[i].unicode() < 128; ++i) {
        col = col * 26 + (name[i].toUpper().unicode() - u'A' + 1);
        if (col > SheetLimits::MaxColumns)
            return std::nullopt;
    }
    if (i == 0 || i == name.size())
        return std::nullopt;
    qint64 row = 0;
    for (; i < name.size(); ++i) {
        if (name[i] < u'0' || name[i] > u'9')
            return std::nullopt;
        row = row * 10 + (name[i].unicode() - u'0');
        if (row > SheetLimits::MaxRows)
            return std::nullopt;
    }
    if (row == 0)
        return std::nullopt;
    return CellPosition { int(row - 1), int(col - 1) };
}
