#include "store/query.h"
#include "store/sqlcipher.h"
#include "support/released_table.h"
#include "support/store_test.h"

class DatasetTest : public StoreTest {
protected:
    DatasetTest() { dm.setPodeIcota(true); }
    Table &items() { return itemsTable(); }
};

TEST_F(DatasetTest, LocateIgnoresCaseOverSeveralColumnsAndReadsDateTexts)
{
    addItem(
        items(), { .cotacao = u"ABC1"_s, .produto = u"peça-1"_s, .marca = u"B"_s, .contato = u"compras"_s });
    addItem(items(), { .cotacao = u"ABC1"_s, .produto = u"OUTRA"_s, .marca = u"A"_s });
    Table &t = items();
    const QStringList key { u"CONTATO"_s, u"COTACAO"_s, u"DATA"_s, u"PRODUTO"_s };

    EXPECT_TRUE(t.locate(key, { u"COMPRAS"_s, u"abc1"_s, u"26/06/2020"_s, u"PEÇA-1"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"peça-1");
    t.first();
    EXPECT_TRUE(t.locate(
        u"contato;cotacao;data;produto"_s, { u"Compras"_s, u"ABC1"_s, QDate(2020, 6, 26), u"Peça-1"_s }));
    EXPECT_EQ(t.currentRow(), 1); // MARCA "B" sorts second

    t.first();
    EXPECT_FALSE(t.locate(key, { u"COMPRAS"_s, u"abc1"_s, u"2020-06-27"_s, u"PEÇA-1"_s }));
    EXPECT_EQ(t.currentRow(), 0); // stays where it was
    EXPECT_THROW(t.locate(key, { u"COMPRAS"_s, u"abc1"_s, u"ontem"_s, u"PEÇA-1"_s }), StoreError);

    addQuotation(u"ABC1"_s, u"ABERTA"_s);
    EXPECT_TRUE(openReleasedTable(dm)->locate(u"Cotacao"_s, { u"abc1"_s }));
}

TEST_F(DatasetTest, LocateFollowsPostsAndDeletesAndFindsTheFirstRowInOrder)
{
    Table &t = items();
    for (const char16_t *p : { u"P3", u"P1", u"P2" })
        addItem(t, { .cotacao = u"1"_s, .produto = QString::fromUtf16(p), .marca = u"M"_s });
    // Several matches: the first in the order of the index (MARCA, then as added).
    ASSERT_TRUE(t.locate(u"MARCA"_s, { u"m"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P3");

    ASSERT_TRUE(t.locate(u"PRODUTO"_s, { u"p1"_s }));
    t.edit();
    t.setText(u"PRODUTO"_s, u"P9"_s);
    t.post();
    EXPECT_FALSE(t.locate(u"PRODUTO"_s, { u"P1"_s }));
    ASSERT_TRUE(t.locate(u"PRODUTO"_s, { u"P9"_s }));
    t.deleteRow();
    EXPECT_FALSE(t.locate(u"PRODUTO"_s, { u"P9"_s }));
    EXPECT_EQ(count(u"CotacaoFornc"_s), 2);

    // A code longer than the column is found as it was stored, cut.
    addItem(t, { .cotacao = u"1"_s, .produto = u"1234567890ABCDEF-XYZ"_s, .marca = u"M"_s });
    EXPECT_TRUE(t.locate(u"PRODUTO"_s, { u"1234567890abcdef-xyz"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"1234567890ABCDE");
}

TEST_F(DatasetTest, FilteredTableShowsOnlyPostedRowsThatStillMatch)
{
    Table &t = items();
    t.setFilter(u"COTACAO = ?"_s, { u"1"_s });
    t.setFiltered(true);
    addItem(t, { .cotacao = u"1"_s, .produto = u"A"_s, .marca = u"A"_s });
    addItem(t, { .cotacao = u"2"_s, .produto = u"B"_s, .marca = u"B"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"C"_s, .marca = u"C"_s });
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"A"_s, u"C"_s }));
    EXPECT_EQ(count(u"CotacaoFornc"_s), 3);

    t.first();
    t.edit();
    t.setText(u"COTACAO"_s, u"2"_s);
    t.post();
    EXPECT_EQ(column(t, u"PRODUTO"_s), QStringList { u"C"_s });
    EXPECT_EQ(t.currentRow(), 0);

    // The filter belongs to the shared table: the next user finds it on.
    t.close();
    t.open();
    EXPECT_TRUE(t.isFiltered());
    EXPECT_EQ(column(t, u"PRODUTO"_s), QStringList { u"C"_s });
}

TEST_F(DatasetTest, SelectedIndexOrdersRowsAndAnEditedRowMovesWithTheCurrentRow)
{
    Table &t = items();
    addItem(t, { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"B"_s, .descricao = u"zz"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P2"_s, .marca = u"A"_s, .descricao = u"yy"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P3"_s, .marca = u"C"_s, .descricao = u"xx"_s });
    EXPECT_EQ(column(t, u"MARCA"_s), (QStringList { u"A"_s, u"B"_s, u"C"_s }));

    t.first();
    t.edit();
    t.setText(u"MARCA"_s, u"Z"_s);
    t.post();
    EXPECT_EQ(column(t, u"MARCA"_s), (QStringList { u"B"_s, u"C"_s, u"Z"_s }));
    EXPECT_EQ(t.currentRow(), 2);
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P2");

    t.setIndexName(u"por_desc"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P3"_s, u"P2"_s, u"P1"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P2"); // the current row stays the same row
    t.setIndexName(QString());
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P1"_s, u"P2"_s, u"P3"_s }));
}

TEST_F(DatasetTest, WalkBookmarksAndMovingOffAnEditedRowPostsIt)
{
    Table &t = items();
    for (const char16_t *m : { u"A", u"B", u"C" })
        addItem(t, { .cotacao = u"1"_s, .produto = QString::fromUtf16(m), .marca = QString::fromUtf16(m) });
    QStringList walked;
    for (t.first(); !t.eof(); t.next())
        walked << t.asString(u"MARCA"_s);
    EXPECT_EQ(walked, (QStringList { u"A"_s, u"B"_s, u"C"_s }));

    t.setCurrentRow(1);
    Bookmark mark = t.bookmark();
    t.first();
    t.edit();
    t.setFloat(u"VALOR"_s, 12.5);
    t.next(); // stores the price
    EXPECT_EQ(t.state(), Dataset::State::Browse);
    EXPECT_EQ(scalar(u"SELECT VALOR FROM CotacaoFornc WHERE MARCA = 'A'"_s).toDouble(), 12.5);

    t.close();
    t.open();
    ASSERT_TRUE(t.gotoBookmark(mark)); // a row's place outlives re-opening
    EXPECT_EQ(t.asString(u"MARCA"_s), u"B");
    t.deleteRow();
    EXPECT_FALSE(t.gotoBookmark(mark));
    Dataset::freeBookmark(mark);
    EXPECT_FALSE(mark.isValid());

    Query q(dm.Banco(), u"Fsql"_s);
    q.setSql({ u"select PRODUTO from CotacaoFornc"_s });
    q.open();
    const Bookmark queryMark = q.bookmark();
    q.close();
    q.open();
    EXPECT_FALSE(q.gotoBookmark(queryMark)); // a new result is other rows
}

TEST_F(DatasetTest, DisabledControlsHearNothingUntilEnabledThenOneReset)
{
    Table &t = items();
    for (const char16_t *m : { u"A", u"B" })
        addItem(t, { .cotacao = u"1"_s, .produto = QString::fromUtf16(m), .marca = QString::fromUtf16(m) });
    int moves = 0;
    int resets = 0;
    QObject receiver;
    QObject::connect(&t, &Dataset::currentRowChanged, &receiver, [&] { ++moves; });
    QObject::connect(&t, &Dataset::resetDone, &receiver, [&] { ++resets; });
    t.disableControls();
    t.disableControls();
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.setFloat(u"VALOR"_s, 1.0);
        t.post();
    }
    t.enableControls();
    EXPECT_EQ(moves + resets, 0); // calls nest
    t.enableControls();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(moves, 1);
}

TEST_F(DatasetTest, QuotationItemsCannotBeAddedWhilePodeIcotaIsFalse)
{
    dm.setPodeIcota(false);
    Table &t = items();
    t.open();
    int inserts = 0;
    QObject receiver;
    QObject::connect(&t, &Dataset::rowAboutToBeInserted, &receiver, [&] { ++inserts; });
    EXPECT_FALSE(t.append());
    EXPECT_EQ(t.state(), Dataset::State::Browse);
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(inserts, 0);
    EXPECT_THROW(t.setText(u"PRODUTO"_s, u"X"_s), StoreError); // nothing to write into
    EXPECT_EQ(count(u"CotacaoFornc"_s), 0);

    Table pedidos(dm.Banco(), pedidoForncSchema(), u"PedFornec"_s);
    pedidos.open();
    EXPECT_TRUE(pedidos.append()); // orders have no such guard
    pedidos.cancel();
}

TEST_F(DatasetTest, ApplicationTextShowsCarriageReturnsAsBlanksOnlyForQuotationItems)
{
    Table &t = items();
    addItem(t, { .cotacao = u"1"_s, .produto = u"P"_s, .marca = u"M"_s });
    t.first();
    t.edit();
    t.setText(u"APLICACAO"_s, u"A\r\nB"_s);
    t.post();
    const int c = t.fieldIndex(u"APLICACAO"_s);
    EXPECT_EQ(t.displayText(0, c), u"A \nB");
    EXPECT_EQ(t.editText(0, c), u"A \nB");
    EXPECT_EQ(t.asString(u"APLICACAO"_s), u"A\r\nB");
    EXPECT_EQ(scalar(u"SELECT APLICACAO FROM CotacaoFornc"_s).toString(), u"A\r\nB");

    Table p(dm.Banco(), pedidoForncSchema(), u"PedFornec"_s);
    addItem(p, { .cotacao = u"1"_s, .produto = u"P"_s, .marca = u"M"_s });
    p.first();
    p.edit();
    p.setText(u"APLICACAO"_s, u"A\r\nB"_s);
    p.post();
    EXPECT_EQ(p.displayText(0, p.fieldIndex(u"APLICACAO"_s)), u"A\r\nB");
}

TEST_F(DatasetTest, ABatchThatStopsOnABadLineKeepsTheRowsBeforeAndDropsTheHalfRow)
{
    Table &t = items();
    t.open();
    const QStringList quantities { u"1,5"_s, u"2"_s, u"abc"_s, u"4"_s };
    auto tx = dm.Banco().transaction();
    try {
        for (int i = 0; i < quantities.size(); ++i) {
            ASSERT_TRUE(t.append());
            t.setText(u"CONTATO"_s, u"COMPRAS"_s);
            t.setText(u"COTACAO"_s, u"1"_s);
            t.setText(u"DATA"_s, u"26/06/2020"_s);
            t.setText(u"PRODUTO"_s, u"P%1"_s.arg(i));
            t.setText(u"QTDE"_s, quantities[i]);
            t.post();
        }
        FAIL() << "a bad number was accepted";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.message(), u"'abc' não é um número válido"_s);
        t.cancel();
        tx.commit();
    }
    EXPECT_EQ(scalar(u"SELECT group_concat(QTDE, ';') FROM CotacaoFornc"_s).toString(), u"1.5;2.0");
    EXPECT_EQ(t.rowCount(), 2);
}

// A typed write tells the open table which rows it wrote: those rows alone
// are read again, in or out of the filter and into their place in the order,
// and the current row stays on the same row.
TEST_F(DatasetTest, AnnouncedRowsAreReadAgainAloneKeepingTheCurrentRow)
{
    Table &t = items();
    addItem(t, { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"B"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P2"_s, .marca = u"A"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P3"_s, .marca = u"C"_s });
    t.close();
    t.setFilter(u"COTACAO = ?"_s, { u"1"_s });
    t.setFiltered(true);
    t.open();
    ASSERT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P2"_s, u"P1"_s, u"P3"_s }));
    Database &db = dm.Banco();
    const auto rowid = [&](const QString &produto) {
        return scalar(u"SELECT rowid FROM CotacaoFornc WHERE PRODUTO = ?"_s, { produto }).toLongLong();
    };
    // Writes past the datasets, which nothing announces.
    const auto behind = [&](const QString &sql) {
        Statement st(db, sql);
        st.step();
    };
    const auto announce
        = [&](const QString &produto) { db.announceRowsWritten(u"CotacaoFornc"_s, { rowid(produto) }); };

    // Not announced: the grid keeps what it read (no whole re-read).
    behind(u"UPDATE CotacaoFornc SET DESCRICAO = 'nova' WHERE PRODUTO = 'P3'"_s);
    behind(u"UPDATE CotacaoFornc SET MARCA = 'Z' WHERE PRODUTO = 'P2'"_s);
    announce(u"P2"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P1"_s, u"P3"_s, u"P2"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P2");
    EXPECT_EQ(column(t, u"DESCRICAO"_s), (QStringList { u"peça"_s, u"peça"_s, u"peça"_s }));

    behind(u"UPDATE CotacaoFornc SET COTACAO = '2' WHERE PRODUTO = 'P1'"_s);
    announce(u"P1"_s);
    behind(u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, QTDE) "
           "VALUES ('C', '1', '2020-06-26', 'P4', 'A', 1)"_s);
    announce(u"P4"_s);
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P4"_s, u"P3"_s, u"P2"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P2");

    const qint64 p2 = rowid(u"P2"_s);
    behind(u"DELETE FROM CotacaoFornc WHERE PRODUTO = 'P2'"_s);
    db.announceRowsWritten(u"CotacaoFornc"_s, { p2 });
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P4"_s, u"P3"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P3"); // the last row went: the one before it

    // A row in edit keeps what was typed and takes the rest as stored.
    t.first();
    t.edit();
    t.setValue(u"VALOR"_s, 5.0);
    behind(u"UPDATE CotacaoFornc SET OBS = 'x' WHERE PRODUTO = 'P4'"_s);
    announce(u"P4"_s);
    ASSERT_TRUE(t.isEditing());
    EXPECT_EQ(t.asString(u"OBS"_s), u"x");
    t.post();
    EXPECT_EQ(
        rows(u"SELECT VALOR, OBS FROM CotacaoFornc WHERE PRODUTO = 'P4'"_s), QStringList { u"5.0|x"_s });
}
