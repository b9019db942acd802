#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <QVariant>

enum class FieldType { Text, Float, Integer, Date, Time };

// One column of a table of the store, as the program converts and keeps its
// values. Values given to it are typed: QString for Text, double for Float,
// qint64 for Integer, QDate for Date, QTime for Time, and an invalid QVariant
// for an empty (null) value.
struct Field {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters, Text only
    bool required = false; // storing an empty value fails
    QString label; // the title grids give it; empty: the name
    // Display formats: "dd/mm/yyyy", "HH:NN", "0.00", "#,##0.00"; empty
    // uses the regional default for the type.
    QString displayFormat;
    // Converts a value given by a caller to this column's in-memory form:
    // texts are read by the regional settings (dates also as ISO), texts of a
    // Text column go through the ANSI code page and are cut to the size.
    // Throws StoreError for a text that is not a value of this type.
    QVariant coerce(const QVariant &value) const;
    // coerce(), refusing an empty value for a required column as a stored
    // row does (StoreError "Field 'X' must have a value").
    QVariant storable(const QVariant &value) const;
    void requireValue(const QVariant &coerced) const;
};

using FieldList = QList<Field>;

// Formats a value by one of the display format patterns above with QLocale().
QString formatValue(const QVariant &value, FieldType type, const QString &displayFormat);
