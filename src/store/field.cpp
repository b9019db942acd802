#include "store/field.h"

#include "common/regional.h"
#include "store/ansi_text.h"
#include "store/store_error.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

bool isTextual(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

} // namespace

QString formatValue(const QVariant &value, FieldType type, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Float:
    case FieldType::Integer:
        return numberText(value.toDouble(), format);
    case FieldType::Date:
        return dateText(value.toDate(), format);
    case FieldType::Time:
        return timeText(value.toTime(), format);
    }
    return {};
}

QVariant Field::storable(const QVariant &value) const
{
    QVariant stored = coerce(value);
    requireValue(stored);
    return stored;
}

void Field::requireValue(const QVariant &coerced) const
{
    if (required && !coerced.isValid())
        throw StoreError(u"Field '%1' must have a value"_s.arg(name));
}

QVariant Field::coerce(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return {};
    const auto invalid = [&](ValueKind kind) { return StoreError(notAValueText(value.toString(), kind)); };
    switch (type) {
    case FieldType::Text: {
        QString text;
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QTime
            || value.typeId() == QMetaType::Double) {
            const FieldType from = value.typeId() == QMetaType::QDate ? FieldType::Date
                : value.typeId() == QMetaType::QTime                  ? FieldType::Time
                                                                      : FieldType::Float;
            text = formatValue(value, from, QString());
        } else {
            text = value.toString();
        }
        text = toAnsiText(text, size);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Float:
    case FieldType::Integer: {
        const ValueKind what = type == FieldType::Float ? ValueKind::Number : ValueKind::Integer;
        double number = 0;
        if (isTextual(value)) {
            std::optional<double> read;
            try {
                read = regionalNumber(value.toString());
            } catch (const ConversionError &) {
                throw invalid(what);
            }
            if (!read)
                return {};
            number = *read;
        } else {
            bool ok = false;
            number = value.toDouble(&ok);
            if (!ok || !std::isfinite(number))
                throw invalid(what);
        }
        if (type == FieldType::Integer) {
            if (number != std::trunc(number) || std::fabs(number) > 9.0e15)
                throw invalid(what);
            return QVariant(qint64(number));
        }
        return QVariant(number);
    }
    case FieldType::Date: {
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
            const QDate date = value.toDate();
            return date.isValid() ? QVariant(date) : QVariant(); // a null date clears the column
        }
        if (!isTextual(value))
            throw invalid(ValueKind::Date);
        try {
            const QDate date = isoOrRegionalDate(value.toString());
            return date.isValid() ? QVariant(date) : QVariant();
        } catch (const ConversionError &e) {
            throw StoreError(e.message());
        }
    }
    case FieldType::Time: {
        QTime time;
        if (value.typeId() == QMetaType::QTime || value.typeId() == QMetaType::QDateTime) {
            time = value.toTime();
        } else if (!isTextual(value)) {
            throw invalid(ValueKind::Time);
        } else {
            try {
                time = isoOrRegionalTime(value.toString());
            } catch (const ConversionError &e) {
                throw StoreError(e.message());
            }
        }
        if (!time.isValid())
            return {};
        return QVariant(QTime(time.hour(), time.minute(), time.second())); // stored to the second
    }
    }
    return {};
}
