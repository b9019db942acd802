#include "store_fixture.h"

#include <QFile>
#include <QFileInfo>

using StoreFileTest = StoreTest;

TEST_F(StoreFileTest, FileIsEncryptedPrivateAndHoldsTheFourTablesAndIndexes)
{
    dm.Banco().close();
    const QByteArray head = folder.read(u"CotaKelvo.new"_s).left(16);
    EXPECT_EQ(head.size(), 16);
    EXPECT_NE(head, QByteArray("SQLite format 3\0", 16));
    EXPECT_EQ(QFile::permissions(path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ReadUser | QFileDevice::WriteUser);

    Database db;
    db.open(path(), storeKey());
    Statement st(db, u"SELECT name FROM sqlite_master WHERE type IN ('table', 'index') "
                     "AND name NOT LIKE 'sqlite_%' ORDER BY name"_s);
    QStringList names;
    while (st.step())
        names << st.columnText(0);
    EXPECT_EQ(names, (QStringList{u"CotaLiberadas"_s, u"CotacaoFornc"_s, u"CotacaoFornc_Por_Desc"_s,
                                  u"CotacaoFornc_Por_Marca"_s, u"PedidoFornc"_s, u"PedidosLiberados"_s}));
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
        EXPECT_TRUE(e.message().contains(u"wrong password"_s)) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(u"not-the-password"_s));
    }
    EXPECT_FALSE(other.isOpen());

    TDm fresh;
    const QString missing = folder.file(u"nada/CotaKelvo.new"_s);
    try {
        fresh.openStore(missing);
        FAIL() << "opened a missing file";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Banco: Database file '%1' does not exist"_s.arg(QFileInfo(missing).absoluteFilePath()));
    }
    EXPECT_FALSE(QFileInfo::exists(missing)); // never created by opening
    EXPECT_THROW(fresh.CotaLiberada().open(), StoreError);
    try {
        fresh.Fsql().setSql({u"delete from CotaLiberadas"_s});
        fresh.Fsql().execSql();
        FAIL();
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"Banco: Database is not open"_s);
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
    // The open table follows what the file holds after each rollback.
    EXPECT_EQ(column(dm.CotaLiberada(), u"Cotacao"_s), (QStringList{u"1"_s, u"2"_s}));
}

TEST_F(StoreFileTest, ValuesAreBoundNeverSpliced)
{
    addQuotation(u"1' OR '1'='1"_s, u"ABERTA"_s);
    Query &q = dm.Fsql();
    q.setSql({u"select Cotacao from CotaLiberadas where Cotacao = :c"_s});
    q.setParam(u"c"_s, u"1' OR '1'='1"_s);
    q.open();
    EXPECT_EQ(q.rowCount(), 1);
    q.close();
    q.setSql({u"delete from CotaLiberadas; delete from CotacaoFornc"_s});
    EXPECT_THROW(q.execSql(), StoreError); // one statement at a time
    EXPECT_EQ(count(u"CotaLiberadas"_s), 1);
}

namespace {

QStringList fieldNames(const Dataset &d)
{
    QStringList names;
    for (const Field &f : d.fields())
        names << f.name;
    return names;
}

// The columns of the order items, as "Select * from PedidoFornc" lists them.
const QStringList OrderItemColumns{
    u"CONTATO"_s,   u"PEDIDO"_s,    u"DATA"_s,      u"PRODUTO"_s,   u"PRODFABR"_s,  u"DESCRICAO"_s, u"UN"_s,
    u"APLICACAO"_s, u"MARCA"_s,     u"QTDE"_s,      u"VALOR"_s,     u"CONDPGTO"_s,  u"SIMILARES"_s, u"OBS"_s,
    u"QTDELOJA1"_s, u"QTDELOJA2"_s, u"QTDELOJA3"_s, u"NOMELOJA1"_s, u"NOMELOJA2"_s, u"NOMELOJA3"_s,
};

} // namespace

TEST_F(StoreFileTest, OrderItemsHoldTheirColumnsInTheStoreOrder)
{
    Query &print = dm.PedFornecPrint();
    print.setParam(u"Pedido"_s, u"1"_s);
    print.open();
    EXPECT_EQ(fieldNames(print), OrderItemColumns);
}
