#include "store/printout_reads.h"
#include "support/store_test.h"

using DataModuleTest = StoreTest;

TEST_F(DataModuleTest, StartsWithTheIndexesSelectedAndTheGuardClosed)
{
    TDm fresh;
    EXPECT_FALSE(fresh.podeIcota());
    EXPECT_FALSE(fresh.CotaLiberada().isOpen());
    EXPECT_FALSE(fresh.quotationItemsChoice().has_value()); // every item, once opened
    EXPECT_FALSE(fresh.PedidosLiberados().isOpen());
    EXPECT_FALSE(fresh.CotaFornec().isOpen());
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

    SentQuotationHeads &cab = dm.ConsCotaCab();
    SentQuotationItems &itens = dm.ConsCotaItens();
    cab.open();
    itens.open();
    ASSERT_EQ(cab.rowCount(), 2);
    EXPECT_EQ(cab.at(0).cotacao, u"200"_s); // newest first
    EXPECT_EQ(cab.at(1).cotacao, u"100"_s);
    EXPECT_EQ(cab.at(1).data, QDate(2020, 6, 1));
    ASSERT_EQ(itens.rowCount(), 1);
    EXPECT_EQ(itens.current()->total, 5.0);

    cab.setCurrentRow(1);
    ASSERT_EQ(itens.rowCount(), 2);
    EXPECT_EQ(itens.at(0).marca, u"A"_s);
    EXPECT_EQ(itens.at(1).marca, u"B"_s);
    EXPECT_EQ(itens.at(0).total, std::nullopt); // no price, no total
    EXPECT_EQ(itens.at(1).total, 1234.5);
    EXPECT_EQ(itens.at(1).valor, 617.25);

    // A new item of the quotation shown is read with the rest.
    addItem(u"CotacaoFornc"_s,
        { .cotacao = u"100"_s, .produto = u"P4"_s, .marca = u"C"_s, .data = QDate(2020, 6, 1) });
    EXPECT_EQ(cab.currentRow(), 1);
    EXPECT_EQ(itens.rowCount(), 3);
}

TEST_F(DataModuleTest, SharedStatementsRunAsWritten)
{
    addQuotation(u"1"_s, u"Baixada"_s, QDate(2020, 6, 1));
    addQuotation(u"2"_s, u"BAIXADA"_s, QDate(2020, 6, 1)); // the status exactly
    ReleasedQuotationSet &cotas = dm.CotasBaixadas();
    cotas.open();
    ASSERT_EQ(cotas.rowCount(), 1);
    EXPECT_EQ(cotas.at(0).dataLiberada, QDate(2020, 6, 1));

    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P1"_s, .marca = u"B"_s, .valor = 3.5 });
    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P2"_s, .marca = u"A"_s });
    addItem(u"PedidoFornc"_s, { .cotacao = u"9"_s, .produto = u"P3"_s, .marca = u"B"_s, .valor = 1.0 });
    addItem(u"PedidoFornc"_s, { .cotacao = u"8"_s, .produto = u"P4"_s, .marca = u"A"_s });
    const std::vector<ItemPrintLine> print = orderPrintLines(dm.Banco(), u"9"_s);
    QStringList printed; // by brand, one brand's items as added
    for (const ItemPrintLine &line : print)
        printed << line.marca + u':' + QString::number(line.valor.value_or(-1));
    EXPECT_EQ(printed, (QStringList { u"A:-1"_s, u"B:3.5"_s, u"B:1"_s }));
}

TEST_F(DataModuleTest, ReopeningTheStoreClosesEverySetAndKeepsTheirChoices)
{
    addQuotation(u"1"_s, u"Enviar"_s);
    addQuotation(u"2"_s, u"Baixada"_s);
    ReleasedQuotationSet &t = dm.CotaLiberada();
    dm.chooseReleasedQuotations(TDm::ReleasedChoice::ToSend);
    t.reload();
    ASSERT_TRUE(t.isOpen());
    ASSERT_EQ(t.rowCount(), 1);
    dm.openStore(path());
    EXPECT_FALSE(t.isOpen());
    t.open();
    EXPECT_EQ(t.rowCount(), 1); // still those to send
    dm.chooseReleasedQuotations(TDm::ReleasedChoice::All);
    t.reload();
    EXPECT_EQ(t.rowCount(), 2);
}
