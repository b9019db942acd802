#include "common/regional.h"
#include "store/printout_reads.h"
#include "store/query.h"
#include "support/released_table.h"
#include "support/store_test.h"

using EngineRules = StoreTest;

TEST_F(EngineRules, NamesOfTablesColumnsParametersAndIndexesIgnoreCase)
{
    addQuotation(u"A1"_s, u"Baixada"_s);
    Query q(dm.Banco(), u"Fsql"_s);
    q.setSql({ u"select cotacao AS Numero, tipostatus from cotaliberadas where TIPOSTATUS =:STATUS"_s });
    q.setParam(u"status"_s, u"Baixada"_s);
    q.open();
    ASSERT_EQ(q.rowCount(), 1);
    EXPECT_EQ(q.value(u"numero"_s).toString(), u"A1");
    EXPECT_EQ(q.asString(u"TipoStatus"_s), u"Baixada");

    itemsTable().setIndexName(u"Por_marca"_s);
    EXPECT_EQ(itemsTable().indexName(), u"Por_Marca");
    Table pedidos(dm.Banco(), pedidoForncSchema(), u"PedFornec"_s);
    pedidos.setIndexName(u"chave-1"_s);
    EXPECT_EQ(pedidos.indexName(), u"Chave-1");
    EXPECT_THROW(itemsTable().setIndexName(u"Por_Preco"_s), StoreError);
}

TEST_F(EngineRules, FiltersCompareTextExactlyAndTextWithNumberAsDigits)
{
    addQuotation(u"0"_s, u"Enviar"_s);
    addQuotation(u"00"_s, u"ENVIAR"_s);
    addQuotation(u"10"_s, u"enviar"_s);
    const auto released = openReleasedTable(dm);
    Table &t = *released;
    struct Case {
        QString filter;
        QVariantList values;
        QStringList rows;
    };
    const QList<Case> cases {
        { u"TipoStatus = 'Enviar'"_s, {}, { u"0"_s } },
        { u"TipoStatus = ?"_s, { u"ENVIAR"_s }, { u"00"_s } },
        { u"Cotacao = 0"_s, {}, { u"0"_s } },
        { u"Cotacao = ?"_s, { 10 }, { u"10"_s } },
        { u"(TipoStatus = 'Enviar') or (Cotacao = '10')"_s, {}, { u"0"_s, u"10"_s } },
        { u"Cotacao = 'O''Brien'"_s, {}, {} },
    };
    t.setFiltered(true);
    for (const Case &c : cases) {
        t.setFilter(c.filter, c.values);
        EXPECT_EQ(column(t, u"Cotacao"_s), c.rows) << c.filter.toStdString();
    }
    t.setFiltered(false); // the filter stays but no longer applies
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.filter(), u"Cotacao = 'O''Brien'");
}

// The file holds dates and times as ISO text, and our statements bind them as
// values: the comparison is one of dates, not of the texts a user reads.
TEST_F(EngineRules, DatesAndTimesAreComparedAsBoundValues)
{
    addQuotation(u"A"_s, u"x"_s, QDate(2020, 6, 4));
    addQuotation(u"B"_s, u"x"_s, QDate(2020, 6, 5));
    addQuotation(u"C"_s, u"x"_s, QDate(2020, 6, 6));
    addQuotation(u"D"_s, u"x"_s, QDate(2019, 12, 31));
    addQuotation(u"E"_s, u"x"_s, QDate()); // no date: never deleted
    const auto released = openReleasedTable(dm);

    // The purge's cut-off, 5 June 2020 as the supplier types it.
    Query purge(dm.Banco(), u"Liberados"_s);
    purge.setSql({ u"Delete from cotaliberadas where dataliberada <= :Data"_s });
    purge.setParam(u"Data"_s, regionalDate(u"05/06/2020"_s));
    purge.execSql();
    EXPECT_EQ(purge.rowsAffected(), 3);
    EXPECT_EQ(column(*released, u"Cotacao"_s), (QStringList { u"C"_s, u"E"_s }));

    Table &t = *released;
    t.first();
    t.edit();
    t.setText(u"AteHora"_s, u"10:00"_s);
    t.post();
    struct Case {
        QString filter;
        QVariantList values;
        QStringList rows;
    };
    const QList<Case> cases {
        { u"DataLiberada > ?"_s, { QDate(2020, 6, 5) }, { u"C"_s } },
        { u"CotaLiberadas.DataLiberada = ?"_s, { QDate(2020, 6, 6) }, { u"C"_s } },
        { u"DataLiberada = '2020-06-06'"_s, {}, { u"C"_s } },
        { u"AteHora > ?"_s, { QTime(9, 30) }, { u"C"_s, u"E"_s } }, // 10:00 and 14:30 are later
        { u"AteHora <= ?"_s, { QTime(9, 30) }, {} },
    };
    t.setFiltered(true);
    for (const Case &c : cases) {
        t.setFilter(c.filter, c.values);
        EXPECT_EQ(column(t, u"Cotacao"_s), c.rows) << c.filter.toStdString();
    }
    // A text for a date column is read as a date, or refused.
    t.setFiltered(false);
    t.first();
    t.edit();
    EXPECT_NO_THROW(t.setText(u"DataLiberada"_s, u"5/6/2020"_s));
    EXPECT_EQ(t.asDate(u"DataLiberada"_s), QDate(2020, 6, 5));
    try {
        t.setText(u"DataLiberada"_s, u"amanhã"_s);
        FAIL() << "a text that is no date was accepted";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"'amanhã' não é uma data válida"_s);
    }
    t.cancel();
}

TEST_F(EngineRules, EmptyValuesNeverCompareEqualAndMakeProductsEmpty)
{
    dm.setPodeIcota(true);
    addItem(
        itemsTable(), { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"A"_s, .qtde = 3.0, .valor = 2.0 });
    addItem(itemsTable(), { .cotacao = u"1"_s, .produto = u"P2"_s, .marca = u"B"_s, .qtde = 3.0 });
    Table &t = itemsTable();
    t.setFiltered(true);
    t.setFilter(u"VALOR = VALOR"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), QStringList { u"P1"_s });
    t.setFilter(u"not (VALOR = 5)"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), QStringList { u"P1"_s });
    t.setFilter(u"QTDE * VALOR > 0 or (QTDE * VALOR is null)"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P1"_s, u"P2"_s }));
}

TEST_F(EngineRules, PostRefusesAnEmptyRequiredColumnOrADuplicateKeyLeavingTheTableUnchanged)
{
    dm.setPodeIcota(true);
    addItem(itemsTable(), { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"M"_s });
    Table &t = itemsTable();
    ASSERT_TRUE(t.append());
    t.setText(u"CONTATO"_s, u"COMPRAS"_s);
    t.setText(u"COTACAO"_s, u"1"_s);
    t.setDate(u"DATA"_s, QDate(2020, 6, 26));
    t.setText(u"MARCA"_s, u"M"_s);
    try {
        t.post();
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Field 'PRODUTO' must have a value"_s);
    }
    t.setText(u"PRODUTO"_s, u"P1"_s);
    try {
        t.post();
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Violação de chave: já existe um registro com esta chave."_s);
    }
    EXPECT_EQ(t.state(), Dataset::State::Insert); // still there to correct
    EXPECT_EQ(count(u"CotacaoFornc"_s), 1);
    t.setText(u"PRODUTO"_s, u"P2"_s);
    t.post();
    EXPECT_EQ(count(u"CotacaoFornc"_s), 2);

    t.edit();
    t.setText(u"PRODUTO"_s, u"P1"_s);
    EXPECT_THROW(t.post(), StoreError);
    t.setText(u"PRODUTO"_s, QString()); // an empty text is an empty value
    EXPECT_THROW(t.post(), StoreError);
    t.cancel();
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P1"_s, u"P2"_s }));
    EXPECT_EQ(scalar(u"SELECT group_concat(PRODUTO) FROM CotacaoFornc"_s).toString(), u"P1,P2");

    // The key of the released quotations needs a value too.
    const auto released = openReleasedTable(dm);
    Table &l = *released;
    ASSERT_TRUE(l.append());
    l.setText(u"TipoStatus"_s, u"ABERTA"_s);
    try {
        l.post();
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Field 'Cotacao' must have a value"_s);
    }
    l.cancel();
    EXPECT_EQ(l.rowCount(), 0);
}

TEST_F(EngineRules, ReadOnlyQueriesRefuseEditsAndWritingStatements)
{
    addQuotation(u"1"_s, u"Baixada"_s);
    const auto released = openReleasedTable(dm);
    Query q(dm.Banco(), u"CotasBaixadas"_s);
    q.setReadOnly(true);
    q.setSql({ u"Select * from CotaLiberadas where TipoStatus = :Status"_s });
    q.setParam(u"Status"_s, u"Baixada"_s);
    q.open();
    ASSERT_EQ(q.rowCount(), 1);
    EXPECT_THROW(q.edit(), StoreError);
    EXPECT_THROW((void)q.append(), StoreError);
    EXPECT_THROW(q.deleteRow(), StoreError);
    q.close();
    q.setSql({ u"delete from CotaLiberadas"_s });
    EXPECT_THROW(q.execSql(), StoreError);
    EXPECT_EQ(count(u"CotaLiberadas"_s), 1);

    Query fsql(dm.Banco(), u"Fsql"_s);
    fsql.setSql({ u"Update CotaLiberadas set TipoStatus = 'Enviar'  where cotacao = '1'"_s });
    fsql.execSql();
    EXPECT_EQ(fsql.rowsAffected(), 1);
    EXPECT_EQ(released->asString(u"TipoStatus"_s), u"Enviar"); // the open table follows
}
