#include "store/printout_reads.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "support/fixtures.h"
#include "support/owner_only.h"
#include "support/row_insert.h"
#include "support/store_test.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <iterator>

using StoreFileTest = StoreTest;

TEST_F(StoreFileTest, FileIsEncryptedPrivateAndHoldsItsTablesAndIndexes)
{
    dm.Banco().close();
    const QByteArray head = folder.read(u"CotaKelvo.new"_s).left(16);
    EXPECT_EQ(head.size(), 16);
    EXPECT_NE(head, QByteArray("SQLite format 3\0", 16));
    EXPECT_TRUE(isOwnersOnly(path()));

    Database db;
    db.open(path(), storeKey());
    Statement st(db,
        u"SELECT name FROM sqlite_master WHERE type IN ('table', 'index') "
        "AND name NOT LIKE 'sqlite_%' ORDER BY name"_s);
    QStringList names;
    while (st.step())
        names << st.columnText(0);
    EXPECT_EQ(names,
        (QStringList { u"CotaLiberadas"_s, u"CotaLiberadas_Unsent"_s, u"CotacaoFornc"_s,
            u"CotacaoFornc_Cotacao"_s, u"CotacaoFornc_Por_Desc"_s, u"CotacaoFornc_Por_Marca"_s,
            u"CotacaoFornc_Prodfabr"_s, u"CotacaoFornc_Prodfabr_Solto"_s, u"PedidoFornc"_s,
            u"PedidosLiberados"_s, u"PedidosLiberados_TipoStatus"_s, u"TabelaPreco"_s,
            u"TabelaPrecoArquivo"_s, u"TabelaPreco_Chave"_s }));
    Statement cols(db, u"PRAGMA table_info('CotacaoFornc')"_s);
    int columns = 0;
    while (cols.step())
        ++columns;
    EXPECT_EQ(columns, 26);
}

TEST_F(StoreFileTest, WrongKeyAndMissingFileFailWithClearErrors)
{
    Database other(u"Banco"_s);
    try {
        other.open(path(), "not-the-password");
        FAIL() << "opened with a wrong key";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.message().contains(u"senha errada"_s)) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(u"not-the-password"_s));
    }
    EXPECT_FALSE(other.isOpen());

    TDm fresh;
    const QString missing = folder.file(u"nada/CotaKelvo.new"_s);
    try {
        fresh.openStore(missing);
        FAIL() << "opened a missing file";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(),
            u"Banco: Database file '%1' does not exist"_s.arg(QFileInfo(missing).absoluteFilePath()));
    }
    EXPECT_FALSE(QFileInfo::exists(missing)); // never created by opening
    EXPECT_THROW(fresh.CotaLiberada().open(), StoreError);
    try {
        fresh.Banco().execute(u"delete from CotaLiberadas"_s);
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Banco: O banco de dados não está aberto"_s);
    }
}

TEST_F(StoreFileTest, CreateRefusesAnExistingFile)
{
    const QByteArray before = folder.read(u"CotaKelvo.new"_s);
    EXPECT_THROW(createDatabase(path()), StoreError);
    EXPECT_EQ(folder.read(u"CotaKelvo.new"_s), before);
}

TEST_F(StoreFileTest, TransactionRollsBackWhenLeftWithoutCommitAndNestsAsSavepoints)
{
    addQuotation(u"1"_s, u"ABERTA"_s);
    {
        Transaction outer(dm.Banco());
        addQuotation(u"2"_s, u"ABERTA"_s);
        {
            Transaction inner(dm.Banco());
            addQuotation(u"3"_s, u"ABERTA"_s);
        } // inner rolled back: only "3" is undone
        outer.commit();
    }
    {
        Transaction dropped(dm.Banco());
        addQuotation(u"4"_s, u"ABERTA"_s);
    }
    EXPECT_EQ(count(u"CotaLiberadas"_s), 2);
    // The open set follows what the file holds after each rollback.
    QStringList shown;
    for (const ReleasedQuotationRow &row : dm.CotaLiberada().rows())
        shown << row.cotacao;
    EXPECT_EQ(shown, (QStringList { u"1"_s, u"2"_s }));
}

TEST_F(StoreFileTest, ValuesAreBoundNeverSpliced)
{
    addQuotation(u"1' OR '1'='1"_s, u"ABERTA"_s);
    EXPECT_EQ(
        rows(u"select Cotacao from CotaLiberadas where Cotacao = :c"_s, { u"1' OR '1'='1"_s }).size(), 1);
    EXPECT_THROW(Statement(dm.Banco(), u"delete from CotaLiberadas; delete from CotacaoFornc"_s),
        StoreError); // one statement at a time
    EXPECT_EQ(count(u"CotaLiberadas"_s), 1);
}

TEST(StoreFormat, LibrariesAfterTheThirdAreToldTheFileFormat)
{
    const struct {
        const char16_t *version;
        bool compatibility;
    } cases[] = {
        { u"3.4.1", false },
        { u"3.4.2 community", false },
        { u"4.0.1 community", true },
        { u"4.6.1 community", true },
        { u"10.0.0", true },
    };
    for (const auto &c : cases)
        EXPECT_EQ(needsCipherCompatibility3(QString::fromUtf16(c.version)), c.compatibility)
            << QString::fromUtf16(c.version).toStdString();
}

namespace {

QStringList columnNames(const Statement &st)
{
    QStringList names;
    for (int i = 0; i < st.columnCount(); ++i)
        names << st.columnName(i);
    return names;
}

// The columns of the order items, as "Select * from PedidoFornc" lists them.
const QStringList OrderItemColumns {
    u"CONTATO"_s,
    u"PEDIDO"_s,
    u"DATA"_s,
    u"PRODUTO"_s,
    u"PRODFABR"_s,
    u"DESCRICAO"_s,
    u"UN"_s,
    u"APLICACAO"_s,
    u"MARCA"_s,
    u"QTDE"_s,
    u"VALOR"_s,
    u"CONDPGTO"_s,
    u"SIMILARES"_s,
    u"OBS"_s,
    u"QTDELOJA1"_s,
    u"QTDELOJA2"_s,
    u"QTDELOJA3"_s,
    u"NOMELOJA1"_s,
    u"NOMELOJA2"_s,
    u"NOMELOJA3"_s,
};

} // namespace

TEST_F(StoreFileTest, OrderItemsHoldTheirColumnsInTheStoreOrder)
{
    EXPECT_EQ(columnNames(Statement(dm.Banco(), u"Select * from PedidoFornc"_s)), OrderItemColumns);
}

// The file of an installation made by the earlier init-db under SQLCipher 3:
// its order items keep the store quantities before CONDPGTO. It opens with
// the store's key, and every read and write goes by column name.
TEST_F(StoreFileTest, AStoreOfTheFirstInstallationsOpensAndWorks)
{
    const QString old = folder.file(u"Antigo.new"_s);
    ASSERT_TRUE(QFile::copy(testsFilePath(u"store/sqlcipher3_store.db"_s), old));
    QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    dm.openStore(old);

    ReleasedQuotationSet &cotas = dm.CotaLiberada();
    cotas.open();
    ASSERT_EQ(cotas.rowCount(), 2);
    EXPECT_EQ(cotas.at(0).cotacao, u"C-100"_s);
    EXPECT_EQ(cotas.at(1).cotacao, u"C-101"_s);
    EXPECT_EQ(cotas.at(0).dataValidade, QDate(2020, 6, 30));
    EXPECT_EQ(cotas.at(0).ateHora, QTime(17, 30));
    EXPECT_FALSE(cotas.at(1).ateHora.isValid());
    QuotationItemSet &itens = dm.CotaFornec();
    itens.open();
    ASSERT_FALSE(itens.isEmpty());
    EXPECT_EQ(QString(itens.at(0).aplicacao).replace(u'\r', u' '), u"GOL PALIO"_s);
    EXPECT_EQ(formatValue(itens.at(0).valor ? QVariant(*itens.at(0).valor) : QVariant(), FieldType::Float,
                  cotacaoForncField(CotacaoForncColumn::VALOR).displayFormat),
        u"89,90"_s);

    dm.chooseOrderItems(std::nullopt);
    RowSet<OrderItemRow> &pedido = dm.PedFornec();
    pedido.open();
    ASSERT_EQ(pedido.rowCount(), 2);
    const OrderItemRow &first = pedido.at(0);
    EXPECT_EQ(first.condpgto, u"30 DIAS"_s);
    EXPECT_EQ(first.qtdeLoja[2], 3.0);
    EXPECT_EQ(first.nomeLoja[2], u"SUL"_s);

    const QStringList names = columnNames(Statement(dm.Banco(), u"Select * from PedidoFornc"_s));
    EXPECT_EQ(QSet<QString>(names.cbegin(), names.cend()),
        QSet<QString>(OrderItemColumns.cbegin(), OrderItemColumns.cend()));
    EXPECT_LT(names.indexOf(u"QTDELOJA1"_s), names.indexOf(u"CONDPGTO"_s)); // the file's own order
    const int bosch = pedido.find([](const OrderItemRow &r) { return r.marca == u"BOSCH"_s; });
    ASSERT_GE(bosch, 0);
    EXPECT_EQ(pedido.at(bosch).qtdeLoja[1], 2.0);
    EXPECT_EQ(pedido.at(bosch).obs, u"urgente"_s);

    const std::vector<ItemPrintLine> print = orderPrintLines(dm.Banco(), u"P-1"_s);
    ASSERT_EQ(print.size(), 2u);
    EXPECT_EQ(print[0].marca, u"AC"_s);
    EXPECT_EQ(print[1].marca, u"BOSCH"_s);
    EXPECT_EQ(print[1].valor, 89.90);

    const std::vector<StorePickingLine> picking = storePickingLines(dm.Banco(), u"P-1"_s);
    QStringList stores; // store:maker's code
    std::transform(picking.cbegin(), picking.cend(), std::back_inserter(stores),
        [](const StorePickingLine &l) { return l.loja + u':' + l.produto; });
    EXPECT_EQ(stores, (QStringList { u"CENTRO:BP-77"_s, u"NORTE:"_s, u"NORTE:BP-77"_s, u"SUL:BP-77"_s }));
    EXPECT_DOUBLE_EQ(picking[1].vlTot, 21.0);

    // A new item lands in the right columns, read back after the file is reopened.
    insertRow(dm.Banco(), pedidoForncSchema(),
        { { u"CONTATO"_s, u"COMPRAS"_s }, { u"PEDIDO"_s, u"P-2"_s }, { u"DATA"_s, QDate(2020, 7, 1) },
            { u"PRODUTO"_s, u"P-9"_s }, { u"CONDPGTO"_s, u"À VISTA"_s }, { u"QTDELOJA1"_s, 4.0 },
            { u"NOMELOJA1"_s, u"CENTRO"_s } });
    dm.openStore(old);
    const std::vector<OrderItemRow> added = readOrderItems(dm.Banco(), u"P-2"_s);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].condpgto, u"À VISTA"_s);
    EXPECT_EQ(added[0].qtdeLoja[0], 4.0);
    EXPECT_EQ(added[0].nomeLoja[0], u"CENTRO"_s);
    EXPECT_EQ(added[0].data, QDate(2020, 7, 1));
}

TEST(StoreIndexes, AStoreOfAnEarlierVersionGainsTheMissingIndexesWhenOpened)
{
    TempFolder folder;
    const QString path = folder.file(u"CotaKelvo.new"_s);
    ASSERT_TRUE(QFile::copy(testsFilePath(QStringLiteral("store/sqlcipher3_store.db")), path));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto indexes = [&path] {
        Database db;
        db.open(path, storeKey());
        Statement st(
            db, u"SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL ORDER BY 1"_s);
        QStringList names;
        while (st.step())
            names << st.columnText(0);
        return names;
    };
    ASSERT_FALSE(indexes().contains(u"CotacaoFornc_Cotacao"_s));
    {
        TDm dm;
        dm.openStore(path);
        dm.openStore(path); // a second time finds them there
    }
    EXPECT_EQ(indexes(),
        (QStringList { u"CotaLiberadas_Unsent"_s, u"CotacaoFornc_Cotacao"_s, u"CotacaoFornc_Por_Desc"_s,
            u"CotacaoFornc_Por_Marca"_s, u"CotacaoFornc_Prodfabr"_s, u"CotacaoFornc_Prodfabr_Solto"_s,
            u"PedidosLiberados_TipoStatus"_s, u"TabelaPreco_Chave"_s }));
}
