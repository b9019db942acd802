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
    EXPECT_EQ(itemRecord(sampleItem()),
        u"JOAO|2020000123|06/26/2020|P-77|10|1234.5|30 DIAS|SIM-1|entrega em 2 dias"_s);

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
    QLocale::setDefault(brazil);
    EXPECT_EQ(record, u"JOAO|2020000123|06.26.2020|P-77|10|1234.5|30 DIAS|SIM-1|entrega em 2 dias"_s);
}

TEST(SubmissionRecord, VerificationAnswers)
{
    const struct {
        const char16_t *answer;
        std::optional<QString> refusal;
    } cases[] = {
        { u"OK", std::nullopt },
        { u" OK\r\n", std::nullopt },
        { u"\tOK  ", std::nullopt },
        { u"ok", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s },
        { u"", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s },
        { u"OK OK", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s },
        { u"EDM\r\n", u"Data de entrega está maior que a data limite. Operação Cancelada...."_s },
        { u"EHM", u"Hora de entrega maior que a hora limite. Operação Cancelada...."_s },
        { u"CF", u"Esta cotação já está Fechada.... Operação Cancelada..."_s },
        { u"  *Cotação vencida\r\n", u"Cotação vencida"_s },
        { u"*", u""_s },
    };
    for (const auto &c : cases)
        EXPECT_EQ(verificationRefusal(QString::fromUtf16(c.answer)), c.refusal)
            << QString::fromUtf16(c.answer).toStdString();
}
