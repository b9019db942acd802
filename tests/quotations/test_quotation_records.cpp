#include "common/regional.h"
#include "exchange/envelope.h"
#include "quotations/quotation_records.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QString itemLine(const QString &qtde = QStringLiteral("2,5"),
    const QString &data = QStringLiteral("05/06/2020"), const QString &qtdeLoja1 = QStringLiteral("1234,5"))
{
    QStringList f { QStringLiteral(" ACME "), QStringLiteral("C1"), data, QStringLiteral("P1") };
    for (int i = 4; i < QuotationItemPositions; ++i)
        f << QStringLiteral("f%1").arg(i);
    f[7] = QStringLiteral("A\r\nB");
    f[9] = qtde;
    f[10] = QStringLiteral("lixo");
    f[17] = qtdeLoja1;
    f[18] = QString();
    f[19] = QStringLiteral("0");
    return f.join(QLatin1Char('|'));
}

ReleasedQuotationLine released(const QString &line)
{
    const auto fields = recordFields(line, ReleasedQuotationFields);
    if (!fields)
        throw std::logic_error("no record");
    return readReleasedQuotation(*fields);
}

QuotationItemLine item(const QString &line)
{
    const auto fields = recordFields(line, QuotationItemPositions);
    if (!fields)
        throw std::logic_error("no record");
    return readQuotationItem(*fields);
}

} // namespace

TEST(QuotationRecords, ReleasedQuotationConvertsByRegionalSettings)
{
    const auto r = std::optional(released(QStringLiteral("05/06/2020|C-1|14:30|ABERTA|1/6/2020|extra")));
    EXPECT_EQ(r->cotacao, QStringLiteral("C-1"));
    EXPECT_EQ(r->tipoStatus, QStringLiteral("ABERTA"));
    EXPECT_EQ(r->dataValidade, QDate(2020, 6, 5));
    EXPECT_EQ(r->ateHora, QTime(14, 30));
    EXPECT_EQ(r->dataLiberada, QDate(2020, 6, 1));

    const auto empty = std::optional(released(QStringLiteral("05/06/2020|C-2||ABERTA|")));
    EXPECT_FALSE(empty->ateHora.isValid());
    EXPECT_FALSE(empty->dataLiberada.isValid());

    EXPECT_FALSE(recordFields(QStringLiteral("  |C-3|10:00|ABERTA|"), ReleasedQuotationFields));
    EXPECT_FALSE(recordFields(QString(), ReleasedQuotationFields));
}

TEST(QuotationRecords, BadLinesThrow)
{
    const QString bad[] = {
        QStringLiteral("05/06/2020|C-1|14:30|ABERTA"), // four fields
        QStringLiteral("2020-06-05|C-1|14:30|ABERTA|"),
        QStringLiteral("05/06/2020|C-1|25:99|ABERTA|"),
        QStringLiteral("31/02/2020|C-1|10:00|ABERTA|"),
    };
    for (const QString &line : bad)
        EXPECT_THROW(released(line), ConversionError) << line.toStdString();

    EXPECT_THROW(item(itemLine(QStringLiteral("2.5"))), ConversionError);
    EXPECT_THROW(item(itemLine(QStringLiteral("1.500"))), ConversionError); // never 1500
    EXPECT_THROW(item(itemLine(QStringLiteral("1"), QStringLiteral("05/06/2020"), QStringLiteral("1.234,5"))),
        ConversionError);
    EXPECT_THROW(item(itemLine(QStringLiteral("dois"))), ConversionError);
    EXPECT_THROW(item(itemLine(QStringLiteral("1"), QStringLiteral("x"))), ConversionError);
    QStringList shortLine = itemLine().split(QLatin1Char('|'));
    shortLine.removeLast();
    EXPECT_THROW(item(shortLine.join(QLatin1Char('|'))), ConversionError);
}

TEST(QuotationRecords, ItemLineValues)
{
    const auto read = std::optional(item(itemLine()));
    EXPECT_EQ(read->contato(), QStringLiteral("ACME"));
    EXPECT_EQ(read->cotacao(), QStringLiteral("C1"));
    EXPECT_EQ(read->data(), QDate(2020, 6, 5));
    EXPECT_EQ(read->produto(), QStringLiteral("P1"));
    EXPECT_EQ(read->values[7].toString(), QStringLiteral("A \nB"));
    EXPECT_DOUBLE_EQ(read->values[9].toDouble(), 2.5);
    EXPECT_FALSE(read->values[10].isValid());
    EXPECT_DOUBLE_EQ(read->values[17].toDouble(), 1234.5);
    EXPECT_FALSE(read->values[18].isValid());
    EXPECT_EQ(read->values[25].toString(), QStringLiteral("f25"));
    EXPECT_EQ(quotationItemColumns()[25], QStringLiteral("NOMELOJA3"));
    EXPECT_TRUE(quotationItemColumns()[10].isEmpty());

    EXPECT_FALSE(recordFields(QStringLiteral(" \t|C1"), QuotationItemPositions));
}
