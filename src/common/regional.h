#pragma once

#include <QDate>
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
