#include "store/printout_reads.h"
#include "support/store_test.h"

using DataModuleTest = StoreTest;

TEST_F(DataModuleTest, StartsWithTheIndexesSelectedAndTheGuardClosed)
{
    TDm fresh;
    EXPECT_FALSE(fresh.podeIcota());
    EXPECT_EQ(fresh.CotaLiberada().indexName(), u"IndexName");
    EXPECT_FALSE(fresh.quotationItemsChoice().has_value()); // every item, once opened
    EXPECT_FALSE(fresh.PedidosLiberados().isOpen());
    EXPECT_FALSE(fresh.CotaFornec().isOpen());
    EXPECT_EQ(
        fresh.CotaLiberada().field(fresh.CotaLiberada().fieldIndex(u"AteHora"_s)).displayFormat, u"HH:NN");
}

TEST_F(DataModuleTest, ConsCotaItensFollowsTheCurrentRowOfConsCotaCab)
{
    dm.setPodeIcota(true);
    addQuotation(u"100"_s, u"Enviada"_s);
    addQuotation(u"200"_s, u"Baixada"_s);
    addItem(u"CotacaoFornc"_s,
        { .cotacao = u"100"_s,
            .produto = u"P1"_s,
            .marca = u"B"_s,
            .qtde = 2.0,
            .valor = 617.25,
            .data = QDate(2020, 6, 1) });
    addItem(u"CotacaoFornc"_s,
        { .cotacao = u"100"_s, .produto = u"P2"_s, .marca = u"A"_s, .qtde = 1.0, .data = QDate(2020, 6, 1) });
    addItem(u"CotacaoFornc"_s,
        { .cotacao = u"200"_s,
            .produto = u"P3"_s,
            .marca = u"C"_s,
            .qtde = 5.0,
            .valor = 1.0,
            .data = QDate(2020, 7, 1) });

    Query &cab = dm.ConsCotaCab();
    Query &itens = dm.ConsCotaItens();
    cab.open();
    itens.open();
    ASSERT_EQ(column(cab, u"Cotacao"_s), (QStringList { u"200"_s, u"100"_s })); // newest first
    const int data = cab.fieldIndex(u"data"_s);
    ASSERT_GE(data, 0);
    EXPECT_EQ(cab.displayText(1, data), u"01/06/2020");
    EXPECT_EQ(column(itens, u"Prodfabr"_s).size(), 1);
    EXPECT_EQ(itens.asFloat(u"Total"_s), 5.0);

    cab.next();
    EXPECT_EQ(column(itens, u"Marca"_s), (QStringList { u"A"_s, u"B"_s }));
    const int total = itens.fieldIndex(u"TOTAL"_s);
    EXPECT_EQ(itens.displayText(0, total), QString()); // no price, no total
    EXPECT_EQ(itens.displayText(1, total), u"1.234,50");
    EXPECT_EQ(itens.displayText(1, itens.fieldIndex(u"Valor"_s)), u"617,25");
}

TEST_F(DataModuleTest, SharedStatementsRunAsWritten)
{
    addQuotation(u"1"_s, u"Baixada"_s, QDate(2020, 6, 1));
    Query &cotas = dm.CotasBaixadas();
    cotas.setParam(u"Status"_s, u"Baixada"_s);
    cotas.open();
    EXPECT_EQ(cotas.rowCount(), 1);
    EXPECT_EQ(cotas.fieldCount(), 5);
    EXPECT_EQ(cotas.value(u"DataLiberada"_s).toDate(), QDate(2020, 6, 1));

    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P1"_s, .marca = u"B"_s, .valor = 3.5 });
    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P2"_s, .marca = u"A"_s });
    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P3"_s, .marca = u"B"_s, .valor = 1.0 });
    addItem(u"PedidoFornc"_s, { .cotacao = u"8"_s, .produto = u"P4"_s, .marca = u"A"_s });
    const std::vector<ItemPrintLine> print = orderPrintLines(dm.Banco(), u"9"_s);
    QStringList printed; // by brand, one brand's items as added
    for (const ItemPrintLine &line : print)
        printed << line.marca + u':' + QString::number(line.valor.value_or(-1));
    EXPECT_EQ(printed, (QStringList { u"A:-1"_s, u"B:3.5"_s, u"B:1"_s }));

    // A query with no value for a parameter and no master says so.
    Query runner(dm.Banco(), u"Fsql"_s);
    runner.setSql({ u"select * from PedidoFornc where PEDIDO = :Pedido"_s });
    EXPECT_THROW(runner.open(), StoreError);
}

TEST_F(DataModuleTest, ReopeningTheStoreClosesEveryDatasetAndKeepsTheirSettings)
{
    addQuotation(u"1"_s, u"Enviar"_s);
    Table &t = dm.CotaLiberada();
    t.setFilter(u"TipoStatus = 'Enviar'"_s);
    t.setFiltered(true);
    ASSERT_TRUE(t.isOpen());
    dm.openStore(path());
    EXPECT_FALSE(t.isOpen());
    t.open();
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_TRUE(t.isFiltered());
}
