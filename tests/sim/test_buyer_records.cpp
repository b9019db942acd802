#include "buyersim/buyer_records.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace buyersim;

namespace {

Quotation quotationFixture()
{
    Quotation cotacao;
    cotacao.numero = u"2026000101"_s;
    cotacao.status = u"ABERTA"_s;
    cotacao.contato = u"MARCOS"_s;
    cotacao.validade = QDate(2026, 6, 26);
    cotacao.ateHora = QTime(17, 0);
    cotacao.liberada = QDate(2026, 6, 19);
    cotacao.agrupadas = u"1-000101;2-000101"_s;
    QuotationItem item;
    item.produto = u"0010247"_s;
    item.prodFabr = u"BKR6E"_s;
    item.descricao = u"VELA DE IGNIÇÃO"_s;
    item.un = u"PC"_s;
    item.aplicacao = u"GOL 1.0 2008/2012\r\nFOX 1.6\nPOLO"_s;
    item.marca = u"NGK"_s;
    item.qtdeLoja = { 10, 2.5, 0 };
    item.cotacaoLoja = { u"1-000101"_s, u"2-000101"_s, QString() };
    item.condPgto = u"28 DDL"_s;
    item.status = u"A"_s;
    item.tipoStatus = u"ABERTA"_s;
    cotacao.itens.append(item);
    return cotacao;
}

const QStringList lojas { u"MATRIZ"_s, u"FILIAL 1"_s, u"FILIAL 2"_s };

} // namespace

TEST(BuyerRecords, NumbersUseTheDecimalCommaWithoutTrailingZeros)
{
    const QList<QPair<double, QString>> cases {
        { 12.5, u"12,5"_s },
        { 10, u"10"_s },
        { 0, u"0"_s },
        { 1234.5, u"1234,5"_s },
        { 0.125, u"0,125"_s },
        { 189.6, u"189,6"_s },
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(brazilianNumber(value), text) << value;
}

TEST(BuyerRecords, QuotationListRecordHasTheFiveFieldsInOrder)
{
    Quotation cotacao = quotationFixture();
    EXPECT_EQ(quotationListRecord(cotacao), u"26/06/2026|2026000101|17:00|ABERTA|19/06/2026"_s);
    cotacao.ateHora = QTime();
    EXPECT_EQ(quotationListRecord(cotacao), u"26/06/2026|2026000101||ABERTA|19/06/2026"_s);
}

TEST(BuyerRecords, QuotationItemRecordHasTwentySixPositions)
{
    const Quotation cotacao = quotationFixture();
    const QStringList f = quotationItemRecord(cotacao, cotacao.itens.first(), lojas).split(u'|');
    ASSERT_EQ(f.size(), 26);
    EXPECT_EQ(f.mid(0, 7),
        (QStringList { u"MARCOS"_s, u"2026000101"_s, u"19/06/2026"_s, u"0010247"_s, u"BKR6E"_s,
            u"VELA DE IGNIÇÃO"_s, u"PC"_s }));
    // Line breaks of the application travel as lone carriage returns.
    EXPECT_EQ(f.at(7), u"GOL 1.0 2008/2012\rFOX 1.6\rPOLO"_s);
    EXPECT_EQ(f.at(8), u"NGK"_s);
    EXPECT_EQ(f.at(9), u"12,5"_s);
    EXPECT_EQ(f.at(10), QString());
    EXPECT_EQ(f.mid(11, 6),
        (QStringList {
            u"A"_s, u"ABERTA"_s, u"1-000101;2-000101"_s, u"1-000101"_s, u"2-000101"_s, QString() }));
    EXPECT_EQ(f.mid(17, 3), (QStringList { u"10"_s, u"2,5"_s, u"0"_s }));
    EXPECT_EQ(f.mid(20, 6),
        (QStringList { u"28 DDL"_s, QString(), QString(), u"MATRIZ"_s, u"FILIAL 1"_s, u"FILIAL 2"_s }));
}

TEST(BuyerRecords, FieldsNeverSplitARecordOrALine)
{
    Quotation cotacao = quotationFixture();
    QuotationItem &item = cotacao.itens.first();
    item.descricao = u"FILTRO | AR"_s;
    item.obs = u"linha 1\r\nlinha 2"_s;
    item.aplicacao = u"UNO|PALIO\r\n"_s;
    const QString record = quotationItemRecord(cotacao, item, lojas);
    EXPECT_EQ(record.split(u'|').size(), 26);
    EXPECT_FALSE(record.contains(u'\n'));
    EXPECT_EQ(record.count(u'\r'), 1); // the application's own line break
    EXPECT_EQ(record.split(u'|').at(22), u"linha 1 linha 2"_s);
}

TEST(BuyerRecords, OrderRecords)
{
    Order pedido { u"2026000201"_s, u"Liberado"_s, u"MARCOS"_s, QDate(2026, 6, 20), QTime(9, 30), {} };
    OrderItem item;
    item.produto = u"0010366"_s;
    item.prodFabr = u"SCT32"_s;
    item.descricao = u"CABO DE VELA"_s;
    item.un = u"JG"_s;
    item.aplicacao = u"UNO\r\nPALIO"_s;
    item.marca = u"NGK"_s;
    item.valor = 63.9;
    item.qtdeLoja = { 3, 5, 4 };
    item.condPgto = u"30/60/90 DDL"_s;
    item.similares = u"SIM-1"_s;
    item.obs = u"urgente"_s;

    EXPECT_EQ(orderListRecord(pedido), u"2026000201|Liberado|20/06/2026|09:30"_s);
    EXPECT_EQ(orderItemRecord(pedido, item, lojas),
        u"MARCOS|2026000201|20/06/2026|0010366|SCT32|CABO DE VELA|JG|UNO\rPALIO|NGK|12|63,9|30/60/90 DDL"
        u"|3|5|4|MATRIZ|FILIAL 1|FILIAL 2|SIM-1|urgente"_s);
}

TEST(BuyerRecords, AnswerBodyIsLatin1WithCrLfLines)
{
    EXPECT_EQ(answerBody({ u"IGNIÇÃO"_s, u"€"_s }), QByteArray("IGNI\xC7\xC3O\r\n?\r\n"));
    EXPECT_EQ(answerBody({}), QByteArray());
}

TEST(BuyerRecords, SubmittedItemRecords)
{
    QString problem;
    const auto item
        = parseSubmittedItem(u"MARCOS|2026000101|06/26/2026|0010247|10|1234.5|28 DDL|NGK-X|ok"_s, &problem);
    ASSERT_TRUE(item) << problem.toStdString();
    EXPECT_EQ(item->produto, u"0010247"_s);
    EXPECT_EQ(item->qtde, u"10"_s);
    EXPECT_EQ(item->valor, u"1234.5"_s);
    EXPECT_EQ(item->obs, u"ok"_s);
    EXPECT_TRUE(parseSubmittedItem(u"MARCOS|2026000101|06/26/2026|0010247|2.5||28 DDL||"_s, &problem));

    const QList<QPair<QString, QString>> bad {
        { u"MARCOS|2026000101|06/26/2026|0010247|10|1|28 DDL||a|b"_s, u"recebidos 10"_s },
        { u"MARCOS|2026000101|26/06/2026|0010247|10|1|28 DDL||"_s, u"data inválida"_s },
        { u"MARCOS|2026000101|06/26/2026|0010247|1,5|1|28 DDL||"_s, u"quantidade inválida"_s },
        { u"MARCOS|2026000101|06/26/2026|0010247|10|-3|28 DDL||"_s, u"valor inválido"_s },
        { u"MARCOS|2026000101|06/26/2026| |10|1|28 DDL||"_s, u"produto vazio"_s },
        { u"MARCOS||06/26/2026|0010247|10|1|28 DDL||"_s, u"cotação vazia"_s },
    };
    for (const auto &[record, why] : bad) {
        problem.clear();
        EXPECT_FALSE(parseSubmittedItem(record, &problem)) << record.toStdString();
        EXPECT_TRUE(problem.contains(why)) << problem.toStdString();
    }
}
