#include "quotations/submission_record.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

SubmissionItem sampleItem()
{
    SubmissionItem item;
    item.contato = u"JOAO"_s;
    item.cotacao = u"2020000123"_s;
    item.data = QDate(2020, 6, 26);
    item.produto = u"P-77"_s;
    item.qtde = 10;
    item.valor = 1234.5;
    item.condPgto = u"30 DIAS"_s;
    item.similares = u"SIM-1"_s;
    item.obs = u"entrega em 2 dias"_s;
    return item;
}

} // namespace

TEST(SubmissionRecord, NineFieldsUnderBrazilianSettings)
{
    EXPECT_EQ(itemRecord(sampleItem()), u"JOAO|2020000123|06/26/2020|P-77|10|1234.5|30 DIAS|SIM-1|entrega em 2 dias"_s);

    SubmissionItem unpriced = sampleItem();
    unpriced.valor.reset();
    unpriced.obs = u"a|b\r\nc"_s;
    EXPECT_EQ(itemRecord(unpriced), u"JOAO|2020000123|06/26/2020|P-77|10||30 DIAS|SIM-1|a|b\r\nc"_s);
}

TEST(SubmissionRecord, OtherRegionalSeparatorsAreHonoured)
{
    const QLocale brazil;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString record = itemRecord(sampleItem());
    const QString general = generalForm(1234.5);
    QLocale::setDefault(brazil);
    EXPECT_EQ(record, u"JOAO|2020000123|06.26.2020|P-77|10|1234.5|30 DIAS|SIM-1|entrega em 2 dias"_s);
    EXPECT_EQ(general, u"1234,5"_s);
}

TEST(SubmissionRecord, GeneralNumberForm)
{
    const struct {
        double value;
        const char16_t *text;
    } cases[] = {
        {0, u"0"},
        {10, u"10"},
        {1234.5, u"1234,5"},
        {1234567.25, u"1234567,25"},
        {-0.5, u"-0,5"},
        {0.1 + 0.2, u"0,3"},
        {1.0 / 3, u"0,333333333333333"},
        {123456789012345.0, u"123456789012345"},
        {1e15, u"1E15"},
        {0.00001, u"0,00001"},
        {1.5e-7, u"1,5E-7"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(generalForm(c.value), QString::fromUtf16(c.text)) << c.value;
}

TEST(SubmissionRecord, VerificationAnswers)
{
    const struct {
        const char16_t *answer;
        std::optional<QString> refusal;
    } cases[] = {
        {u"OK", std::nullopt},
        {u" OK\r\n", std::nullopt},
        {u"\tOK  ", std::nullopt},
        {u"ok", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s},
        {u"", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s},
        {u"OK OK", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s},
        {u"EDM\r\n", u"Data de entrega está maior que a data limite. Operação Cancelada...."_s},
        {u"EHM", u"Hora de entrega maior que a hora limite. Operação Cancelada...."_s},
        {u"CF", u"Esta cotação já está Fechada.... Operação Cancelada..."_s},
        {u"  *Cotação vencida\r\n", u"Cotação vencida"_s},
        {u"*", u""_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(verificationRefusal(QString::fromUtf16(c.answer)), c.refusal) << QString::fromUtf16(c.answer).toStdString();
}
