#include "store/item_writes.h"
#include "store/released_writes.h"
#include "store/schema.h"
#include "support/qstring_printer.h"
#include "support/store_test.h"

namespace {

class ItemWritesTest : public StoreTest { };

} // namespace

// The enums index the schema's columns: a column added or moved in one and
// not the other would write a value to the wrong column.
TEST(ColumnEnums, NameTheColumnsOfTheFileInOrder)
{
    const FieldList &cotacao = cotacaoForncSchema().columns;
    ASSERT_EQ(cotacao.size(), int(CotacaoForncColumn::Count));
    const std::pair<CotacaoForncColumn, const char16_t *> quotation[] = { { CotacaoForncColumn::CONTATO,
                                                                              u"CONTATO" },
        { CotacaoForncColumn::PRODUTO, u"PRODUTO" }, { CotacaoForncColumn::MARCA, u"MARCA" },
        { CotacaoForncColumn::VALOR, u"VALOR" }, { CotacaoForncColumn::COTACAOLOJA3, u"COTACAOLOJA3" },
        { CotacaoForncColumn::QTDELOJA1, u"QTDELOJA1" }, { CotacaoForncColumn::SIMILARES, u"SIMILARES" },
        { CotacaoForncColumn::NOMELOJA3, u"NOMELOJA3" } };
    for (const auto &[column, name] : quotation)
        EXPECT_EQ(cotacao[int(column)].name, QString::fromUtf16(name));

    const FieldList &pedido = pedidoForncSchema().columns;
    ASSERT_EQ(pedido.size(), int(PedidoForncColumn::Count));
    const std::pair<PedidoForncColumn, const char16_t *> order[] = { { PedidoForncColumn::PEDIDO, u"PEDIDO" },
        { PedidoForncColumn::VALOR, u"VALOR" }, { PedidoForncColumn::OBS, u"OBS" },
        { PedidoForncColumn::QTDELOJA1, u"QTDELOJA1" }, { PedidoForncColumn::NOMELOJA3, u"NOMELOJA3" } };
    for (const auto &[column, name] : order)
        EXPECT_EQ(pedido[int(column)].name, QString::fromUtf16(name));
}

TEST_F(ItemWritesTest, PriceAndSimilarItemAreStoredAsTheColumnsKeepThem)
{
    addItem(
        { .cotacao = u"Q1"_s, .produto = u"X1"_s, .marca = u"BOSCH"_s, .valor = 3.0, .similares = u"S"_s });
    addItem({ .cotacao = u"Q1"_s, .produto = u"X2"_s, .marca = u"BOSCH"_s });
    QuotationItemWrites writes(dm.Banco());

    writes.setPriceAndSimilares(1, QVariant(), QString());
    writes.setPriceAndSimilares(2, 1234.5, u"SIMILAR MUITO LONGO DEMAIS \u4e2d"_s);

    // Empty is NULL; a text goes through the code page and is cut to 20.
    EXPECT_EQ(rows(u"SELECT typeof(VALOR), VALOR, SIMILARES FROM CotacaoFornc ORDER BY rowid"_s),
        (QStringList { u"null|~|~"_s, u"real|1234.5|SIMILAR MUITO LONGO "_s }));
}

TEST_F(ItemWritesTest, StatusWritesFindTheirRowExactlyOrByAFoldedKeyWhenTheRowIsGone)
{
    addQuotation(u"ÇA1"_s, u"ABERTA"_s);
    addQuotation(u"b2"_s, u"ABERTA"_s);

    // The ready statement compares exactly: "B2" is not "b2".
    EXPECT_EQ(setQuotationStatus(dm.Banco(), u"B2"_s, u"Enviar"_s), 0);
    EXPECT_EQ(setQuotationStatus(dm.Banco(), u"b2"_s, u"Enviar"_s), 1);
    // A bookmark to a row since deleted falls back to the number, any case.
    EXPECT_TRUE(setQuotationStatusAt(dm.Banco(), 99, u"ça1"_s, u"Baixada"_s));
    EXPECT_FALSE(setQuotationStatusAt(dm.Banco(), 99, u"C9"_s, u"Baixada"_s));
    EXPECT_EQ(rows(u"SELECT Cotacao, TipoStatus FROM CotaLiberadas ORDER BY rowid"_s),
        (QStringList { u"ÇA1|Baixada"_s, u"b2|Enviar"_s }));
    QStringList shown;
    for (const ReleasedQuotationRow &row : dm.CotaLiberada().rows())
        shown << row.tipoStatus;
    EXPECT_EQ(shown, (QStringList { u"Enviar"_s, u"Baixada"_s })) << "the open list follows";

    exec(u"INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES ('P1', 'Liberado')"_s);
    EXPECT_TRUE(setOrderDownloadedAt(
        dm.Banco(), 1, u"P1"_s, u"Baixado"_s, QDateTime(QDate(2020, 6, 5), QTime(14, 30, 15, 500))));
    EXPECT_EQ(rows(u"SELECT TipoStatus, DataBaixado, HoraBaixa FROM PedidosLiberados"_s),
        (QStringList { u"Baixado|2020-06-05|14:30:15"_s }));
}
