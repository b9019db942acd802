#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>
#include <stdexcept>

// A text that is not a value of the wanted type under the user's regional
// settings. The text is what the general error box shows.
class ConversionError final : public std::runtime_error {
public:
    explicit ConversionError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Conversions of texts read from the server, spreadsheets and the user by
// QLocale() (the user's regional settings). An empty or blank text gives an
// empty value; any other text that is not a value throws ConversionError.
QDate regionalDate(const QString &text);
QTime regionalTime(const QString &text);
std::optional<double> regionalNumber(const QString &text);

// Numbers for display by the patterns of the field lists and reports, with
// the regional separators: "0.00" (fixed decimals, no grouping), "#,##0.00"
// (grouped); an empty pattern gives the general format (as many decimals as
// needed, no grouping).
QString numberText(double value, const QString &pattern = QString());

// A date and time as the regional short date and long time, separated by a
// blank (the long time without the time zone Qt appends to it).
QString dateTimeText(const QDateTime &at);

// Where the system has no regional settings at all (the POSIX "C" locale of
// a bare machine), the program follows the Brazilian ones it is made for;
// any configured settings are followed as they are. Called once at start.
void applyRegionalDefaults();

// Values written for listings and scripts, independent of the regional
// settings: yyyy-MM-dd, HH:mm, and numbers with "." in their shortest form
// without grouping. An empty value gives an empty text.
QString plainDate(const QDate &date);
QString plainTime(const QTime &time);
QString plainNumber(const std::optional<double> &value);
