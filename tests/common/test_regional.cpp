#include "common/regional.h"

#include "support/qstring_printer.h"

#include <QLocale>
#include <QVariant>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QLocale Brazil(QLocale::Portuguese, QLocale::Brazil);
const QLocale Usa(QLocale::English, QLocale::UnitedStates);
const QLocale Germany(QLocale::German, QLocale::Germany);
const QLocale Korea(QLocale::Korean, QLocale::SouthKorea);

// The regional settings of one case; the Brazilian ones of every test after it.
class RegionalSettings {
public:
    explicit RegionalSettings(const QLocale &locale) { QLocale::setDefault(locale); }
    ~RegionalSettings() { QLocale::setDefault(Brazil); }
    RegionalSettings(const RegionalSettings &) = delete;
    RegionalSettings &operator=(const RegionalSettings &) = delete;
};

enum class Read { Number, RequiredNumber, Date, Time, IsoOrRegionalDate, IsoOrRegionalTime };

QVariant read(Read how, const QString &text)
{
    const auto optional = [](std::optional<double> v) { return v ? QVariant(*v) : QVariant(); };
    const auto date = [](QDate d) { return d.isValid() ? QVariant(d) : QVariant(); };
    const auto time = [](QTime t) { return t.isValid() ? QVariant(t) : QVariant(); };
    switch (how) {
    case Read::Number:
        return optional(regionalNumber(text));
    case Read::RequiredNumber:
        return requiredNumber(text);
    case Read::Date:
        return date(regionalDate(text));
    case Read::Time:
        return time(regionalTime(text));
    case Read::IsoOrRegionalDate:
        return date(isoOrRegionalDate(text));
    case Read::IsoOrRegionalTime:
        return time(isoOrRegionalTime(text));
    }
    return {};
}

} // namespace

// One rule set for every text that becomes a value: the server's fields, grid
// cells, spreadsheet text cells and the command line all read through these.
TEST(Regional, ReadingTexts)
{
    const QVariant empty;
    struct Case {
        QLocale locale;
        Read how;
        QString text;
        QVariant value; // an invalid QVariant: the empty value
        QString error {}; // when set, the text is refused with this message
    };
    const QList<Case> cases {
        { Brazil, Read::Number, u"2,5"_s, 2.5 },
        { Brazil, Read::Number, u" -1,5 "_s, -1.5 },
        { Brazil, Read::Number, u"+3"_s, 3.0 },
        { Brazil, Read::Number, u"1,5E3"_s, 1500.0 },
        { Brazil, Read::Number, u"   "_s, empty },
        // A thousands separator is refused: "1.500" is never 1500.
        { Brazil, Read::Number, u"1.500"_s, {}, u"'1.500' não é um número válido"_s },
        { Brazil, Read::Number, u"1.234,5"_s, {}, u"'1.234,5' não é um número válido"_s },
        { Brazil, Read::Number, u"2.5"_s, {}, u"'2.5' não é um número válido"_s },
        { Brazil, Read::Number, u"1,2,3"_s, {}, u"'1,2,3' não é um número válido"_s },
        { Brazil, Read::Number, u"dois"_s, {}, u"'dois' não é um número válido"_s },
        { Brazil, Read::Number, u"inf"_s, {}, u"'inf' não é um número válido"_s },
        { Brazil, Read::Number, u"1E999"_s, {}, u"'1E999' não é um número válido"_s },
        { Brazil, Read::RequiredNumber, u"0"_s, 0.0 },
        { Brazil, Read::RequiredNumber, u""_s, {}, u"'' não é um número válido"_s },
        { Usa, Read::Number, u"1.5"_s, 1.5 },
        { Usa, Read::Number, u"1,500"_s, {}, u"'1,500' não é um número válido"_s },

        { Brazil, Read::Date, u"05/06/2020"_s, QDate(2020, 6, 5) },
        { Brazil, Read::Date, u" 5/6/2020 "_s, QDate(2020, 6, 5) },
        { Brazil, Read::Date, u"05/06/20"_s, QDate(2020, 6, 5) },
        { Brazil, Read::Date, u"31/12/99"_s, QDate(1999, 12, 31) },
        { Brazil, Read::Date, u""_s, empty },
        { Brazil, Read::Date, u"31/02/2020"_s, {}, u"'31/02/2020' não é uma data válida"_s },
        { Brazil, Read::Date, u"2020-06-05"_s, {}, u"'2020-06-05' não é uma data válida"_s },
        { Brazil, Read::Date, u"05-06-2020"_s, {}, u"'05-06-2020' não é uma data válida"_s },
        { Brazil, Read::Date, u"005/06/2020"_s, {}, u"'005/06/2020' não é uma data válida"_s },
        { Brazil, Read::Date, u"05/06/202"_s, {}, u"'05/06/202' não é uma data válida"_s },
        { Brazil, Read::Date, u"05/06"_s, {}, u"'05/06' não é uma data válida"_s },
        { Brazil, Read::Date, u"05/06/2020 10:00"_s, {}, u"'05/06/2020 10:00' não é uma data válida"_s },
        { Usa, Read::Date, u"6/5/2020"_s, QDate(2020, 6, 5) },
        { Germany, Read::Date, u"5.6.2020"_s, QDate(2020, 6, 5) },

        { Brazil, Read::Time, u"14:30"_s, QTime(14, 30) },
        { Brazil, Read::Time, u"14:30:15"_s, QTime(14, 30, 15) },
        { Brazil, Read::Time, u"9:5"_s, QTime(9, 5) },
        { Brazil, Read::Time, u""_s, empty },
        { Brazil, Read::Time, u"25:00"_s, {}, u"'25:00' não é uma hora válida"_s },
        { Brazil, Read::Time, u"14:60"_s, {}, u"'14:60' não é uma hora válida"_s },
        { Brazil, Read::Time, u"14h30"_s, {}, u"'14h30' não é uma hora válida"_s },
        { Brazil, Read::Time, u"14"_s, {}, u"'14' não é uma hora válida"_s },
        { Usa, Read::Time, u"2:30 PM"_s, QTime(14, 30) },
        { Usa, Read::Time, u"12:05 am"_s, QTime(0, 5) },
        { Usa, Read::Time, u"13:30 PM"_s, {}, u"'13:30 PM' não é uma hora válida"_s },
        { Korea, Read::Time, u"오후 2:30"_s, QTime(14, 30) },

        // A text given to a date or time column: ISO first, then the regional rules.
        { Brazil, Read::IsoOrRegionalDate, u"2020-06-05"_s, QDate(2020, 6, 5) },
        { Brazil, Read::IsoOrRegionalDate, u"2020-06-05T10:00:00"_s, QDate(2020, 6, 5) },
        { Brazil, Read::IsoOrRegionalDate, u"5/6/2020"_s, QDate(2020, 6, 5) },
        { Brazil, Read::IsoOrRegionalDate, u"2020-13-01"_s, {}, u"'2020-13-01' não é uma data válida"_s },
        { Brazil, Read::IsoOrRegionalDate, u"amanhã"_s, {}, u"'amanhã' não é uma data válida"_s },
        { Brazil, Read::IsoOrRegionalTime, u"10:00:00.750"_s, QTime(10, 0) },
        { Brazil, Read::IsoOrRegionalTime, u"2020-06-05T10:30:00"_s, QTime(10, 30) },
        { Brazil, Read::IsoOrRegionalTime, u"9:30"_s, QTime(9, 30) },
        { Brazil, Read::IsoOrRegionalTime, u"meio-dia"_s, {}, u"'meio-dia' não é uma hora válida"_s },
    };
    for (const Case &c : cases) {
        const RegionalSettings settings(c.locale);
        const std::string where = (c.locale.name() + u" \""_s + c.text + u'"').toStdString();
        try {
            const QVariant value = read(c.how, c.text);
            EXPECT_TRUE(c.error.isEmpty()) << where << " was accepted";
            EXPECT_EQ(value, c.value) << where << " gave " << value.toString().toStdString();
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), c.error) << where;
        }
    }
}

TEST(Regional, WritingValues)
{
    struct Case {
        QLocale locale;
        double value;
        QString pattern;
        QString text;
    };
    const QList<Case> numbers {
        { Brazil, 1234.5, u"0.00"_s, u"1234,50"_s },
        { Brazil, 1234567.891, u"#,##0.00"_s, u"1.234.567,89"_s },
        { Brazil, 1234.5, u" = #,##0.00"_s, u" = 1.234,50"_s },
        { Brazil, -1.5, u"#,##0.00"_s, u"-1,50"_s },
        { Brazil, 12, u"0"_s, u"12"_s },
        { Brazil, 0.5, u"0.##"_s, u"0,5"_s },
        { Brazil, 2, u"0.##"_s, u"2"_s },
        // Rounded half away from zero as the value reads in 15 digits.
        { Brazil, 1.005, u"0.00"_s, u"1,01"_s },
        { Brazil, 2.675, u"0.00"_s, u"2,68"_s },
        { Brazil, 0.005, u"0.00"_s, u"0,01"_s },
        { Brazil, 999.995, u"0.00"_s, u"1000,00"_s },
        { Brazil, -0.001, u"0.00"_s, u"0,00"_s },
        { Usa, 1234.5, u"#,##0.00"_s, u"1,234.50"_s },
        // The general form.
        { Brazil, 0, QString(), u"0"_s },
        { Brazil, 10, QString(), u"10"_s },
        { Brazil, 1234567.25, QString(), u"1234567,25"_s },
        { Brazil, -0.5, QString(), u"-0,5"_s },
        { Brazil, 0.1 + 0.2, QString(), u"0,3"_s },
        { Brazil, 1.0 / 3, QString(), u"0,333333333333333"_s },
        { Brazil, 123456789012345.0, QString(), u"123456789012345"_s },
        { Brazil, 1e15, QString(), u"1E15"_s },
        { Brazil, 0.00001, QString(), u"0,00001"_s },
        { Brazil, 1.5e-7, QString(), u"1,5E-7"_s },
        { Germany, 1234.5, QString(), u"1234,5"_s },
        { Usa, 1234.5, QString(), u"1234.5"_s },
    };
    for (const Case &c : numbers) {
        const RegionalSettings settings(c.locale);
        EXPECT_EQ(numberText(c.value, c.pattern), c.text) << c.value << " " << c.pattern.toStdString();
    }

    const QDate june5(2020, 6, 5);
    const QTime morning(9, 5, 30);
    EXPECT_EQ(dateText(june5, u"dd/mm/yyyy"_s), u"05/06/2020"_s);
    EXPECT_EQ(dateText(june5, u"mm/dd/yyyy"_s), u"06/05/2020"_s);
    EXPECT_EQ(dateText(june5), u"05/06/2020"_s);
    EXPECT_EQ(dateText(QDate(), u"dd/mm/yyyy"_s), QString());
    EXPECT_EQ(timeText(morning, u"HH:NN"_s), u"09:05"_s);
    EXPECT_EQ(timeText(morning), u"09:05:30"_s);
    {
        const RegionalSettings german(Germany);
        EXPECT_EQ(dateText(june5, u"mm/dd/yyyy"_s), u"06.05.2020"_s);
    }

    EXPECT_EQ(isoDateText(june5), u"2020-06-05"_s);
    EXPECT_EQ(isoTimeText(morning), u"09:05:30"_s);
    EXPECT_EQ(isoDate(u"2020-06-05"), june5);
    EXPECT_EQ(isoTime(u"09:05:30"), morning);
    EXPECT_FALSE(isoDate(u"2020-6-5").isValid());
    EXPECT_FALSE(isoTime(u"9:05").isValid());
    EXPECT_EQ(isoDateText(QDate()), QString());

    EXPECT_EQ(plainDate(june5), u"2020-06-05"_s);
    EXPECT_EQ(plainTime(morning), u"09:05"_s);
    EXPECT_EQ(plainNumber(1234567.5), u"1234567.5"_s);
    EXPECT_EQ(plainNumber(0.1), u"0.1"_s);
    EXPECT_EQ(plainNumber(-0.0), u"0"_s);
    EXPECT_EQ(plainNumber(std::nullopt), QString());
    EXPECT_EQ(plainDate(QDate()), QString());
}

// What is written for the user reads back as the same value: a spreadsheet
// cell holding a number, a date shown in a grid.
TEST(Regional, WrittenValuesReadBack)
{
    const double numbers[] = { 0, 1234.5, -0.25, 1.0 / 3, 123456789012345.0, 1.5e-7, 2e20 };
    const QDate dates[] = { QDate(2020, 6, 5), QDate(1999, 12, 31), QDate(2049, 1, 1) };
    for (const QLocale &locale : { Brazil, Usa, Germany }) {
        const RegionalSettings settings(locale);
        for (double v : numbers) {
            const double back = *regionalNumber(generalNumber(v));
            EXPECT_LE(std::fabs(back - v), std::fabs(v) * 1e-14) << locale.name().toStdString() << " " << v;
        }
        for (const QDate &d : dates)
            EXPECT_EQ(regionalDate(dateText(d)), d)
                << locale.name().toStdString() << " " << dateText(d).toStdString();
        EXPECT_EQ(regionalTime(timeText(QTime(23, 59, 58))), QTime(23, 59, 58))
            << locale.name().toStdString();
    }
}
