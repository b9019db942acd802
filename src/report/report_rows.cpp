#include "report/report_rows.h"

#include "common/regional.h"

int ReportRows::columnIndex(const QString &name) const
{
    const QString folded = name.toCaseFolded();
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (columns[i].name.toCaseFolded() == folded)
            return int(i);
    }
    return -1;
}

QString reportText(const ReportColumn &column, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (column.type) {
    case ReportColumnType::Text:
        return value.toString();
    case ReportColumnType::Number:
        return numberText(value.toDouble(), column.displayFormat);
    case ReportColumnType::Date:
        return dateText(value.toDate(), column.displayFormat);
    case ReportColumnType::Time:
        return timeText(value.toTime(), column.displayFormat);
    }
    return {};
}
