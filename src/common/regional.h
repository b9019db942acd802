#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
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

// Every conversion between text and numbers, dates or times goes through
// here, under QLocale() (the user's regional settings), by one set of rules.

// The kinds of value a text is read as, for the message of one that is not.
enum class ValueKind { Number, Integer, Date, Time };

// The message of a text that is not a value of that kind, e.g. "'abc' não é
// um número válido" (the general error box adds the final point).
QString notAValueText(const QString &text, ValueKind kind);

// ---- Reading -------------------------------------------------------------
// The same rules for the server's fields, grid cells, spreadsheet text cells
// and the command line. Blanks around the text are ignored; an empty text is
// an empty value; any other text that is not a value throws ConversionError
// with notAValueText ("'<text>' não é uma data válida").
// - Number: a sign, digits, the regional decimal separator, an exponent
//   ("1,5E3"). No thousands separator: "1.500" under Brazilian settings is an
//   error, never 1500, since a grouped text can as well be a misplaced point.
// - Date: the order and separator of the regional short date format, day and
//   month of one or two digits, a year of four digits or of two (00 to 49 in
//   this century, 50 to 99 in the last).
// - Time: hours and minutes, with or without seconds, each of one or two
//   digits, the regional time separator (and AM/PM where the regional time
//   format has it).
std::optional<double> regionalNumber(const QString &text);
// The same, where an empty text is no number either.
double requiredNumber(const QString &text);
// A number of a file that may have been written under other settings than
// these: the regional rules; else one decimal comma or point not followed
// by three digits, where it could be a thousands separator ("12,50" as
// Brazilian settings write it, "12.5"; "1.500" and "1,500" stay refused).
std::optional<double> fileNumber(const QString &text);
QDate regionalDate(const QString &text);
QTime regionalTime(const QString &text);

// A text given to a date or time column of the store: ISO 8601 first (a date
// and time, a date, a time), else the regional rules above.
QDate isoOrRegionalDate(const QString &text);
QTime isoOrRegionalTime(const QString &text);

// ---- The store's form ----------------------------------------------------
// Dates as "yyyy-MM-dd" and times as "HH:mm:ss", so that comparing the texts
// compares the values. An invalid value gives an empty text; a text of any
// other form reads as an invalid value.
QString isoDateText(const QDate &date);
QString isoTimeText(const QTime &time);
QDate isoDate(QStringView text);
QTime isoTime(QStringView text);

// ---- Display -------------------------------------------------------------
// A number by a pattern, with the regional separators: "0.00" (fixed
// decimals), "#,##0.00" (grouped), "0.##" (decimals only where needed), with
// literal text around the number (" = #,##0.00"). The value is taken to 15
// significant digits, then rounded half away from zero, so 1.005 shows 1,01.
// An empty pattern gives the general form.
QString numberText(double value, const QString &pattern = QString());
// The general form: no thousands separator, no trailing zeros, at most 15
// significant digits, the regional decimal separator; beyond that range the
// scientific form ("1,5E-7", "1E15").
QString generalNumber(double value);
// Dates and times by a pattern: d, dd, ddd, dddd, m, mm, mmm, mmmm, yy,
// yyyy, h, hh, n or nn (minutes; also m right after an hour), s, ss, any
// letter case; "/" and ":" stand for the regional date and time separators;
// text in quotes is literal. An empty pattern gives the regional short date,
// and hh:nn:ss for a time.
QString dateText(const QDate &date, const QString &pattern = QString());
QString timeText(const QTime &time, const QString &pattern = QString());

// ---- Listings and scripts ------------------------------------------------
// Independent of the regional settings: yyyy-MM-dd, HH:mm, and numbers with
// "." in their shortest form without grouping. An empty value gives an empty
// text.
QString plainDate(const QDate &date);
QString plainTime(const QTime &time);
QString plainNumber(const std::optional<double> &value);

// A date and time as the regional short date and long time, separated by a
// blank (the long time without the time zone Qt appends to it).
QString dateTimeText(const QDateTime &at);

// Where the system has no regional settings at all (the POSIX "C" locale of
// a bare machine), the program follows the Brazilian ones it is made for;
// any configured settings are followed as they are. Called once at start.
void applyRegionalDefaults();
