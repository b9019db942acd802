#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

// What a report prints from: named, typed columns and rows of values in
// printing order. The rows are read from the store before preparation
// starts, so preparing (and testing a layout) needs no database.

enum class ReportColumnType { Text, Number, Date, Time };

struct ReportColumn {
    QString name; // matched without regard to case
    ReportColumnType type = ReportColumnType::Text;
    // "0.00", "#,##0.00", "dd/mm/yyyy", "HH:NN"; empty: the regional
    // default of the type (numbers in the general format).
    QString displayFormat;
};

inline ReportColumn textColumn(const QString &name)
{
    return { name, ReportColumnType::Text, QString() };
}
inline ReportColumn numberColumn(const QString &name, const QString &displayFormat = QString())
{
    return { name, ReportColumnType::Number, displayFormat };
}

// One value per column, in the columns' order: QString for text, double for
// a number, QDate, QTime; an invalid QVariant for an empty value.
using ReportRow = QVariantList;

struct ReportRows {
    QList<ReportColumn> columns;
    std::vector<ReportRow> rows;

    int columnIndex(const QString &name) const; // -1 when there is none
};

// A number of a row, or no value.
inline QVariant reportNumber(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

// The value as a data text prints it, with the column's display format.
QString reportText(const ReportColumn &column, const QVariant &value);
