#include "store/batch_write.h"
#include "store/store_error.h"
#include "support/qstring_printer.h"
#include "support/store_test.h"
#include "support/thrown.h"

#include "store/schema.h"

#include <optional>

namespace {

// An order item line "contato;pedido;yyyy-MM-dd;produto;descricao;qtde";
// positions 0 to 3 are the key, as in an order download.
const ItemLineLayout Layout {
    { u"CONTATO"_s, u"PEDIDO"_s, u"DATA"_s, u"PRODUTO"_s, u"DESCRICAO"_s, u"QTDE"_s }, 4, 4
};

class BatchWriteTest : public StoreTest {
protected:
    BatchWriteTest() { items.open(); }

    // Reads a line as its positions; an empty line holds no record. While
    // it runs, notes whether the batch is in a transaction.
    std::optional<QVariantList> read(const QString &line)
    {
        insideBatch = insideBatch && dm.Banco().inTransaction();
        if (line.isEmpty())
            return std::nullopt;
        const QStringList f = line.split(u';');
        return QVariantList { f[0], f[1], QDate::fromString(f[2], Qt::ISODate), f[3], f[4], f[5] };
    }

    void store(const QStringList &lines, const std::function<bool()> &canAppend = {})
    {
        storeItemLines(
            dm.Banco(), pedidoForncSchema(), Layout, lines,
            [this](const QString &line) { return read(line); }, {}, canAppend);
    }

    // CONTATO|PRODUTO|DESCRICAO|QTDE of each stored row.
    QStringList stored()
    {
        QStringList rows;
        Statement st(
            dm.Banco(), u"SELECT CONTATO, PRODUTO, DESCRICAO, QTDE FROM PedidoFornc ORDER BY PRODUTO"_s);
        while (st.step())
            rows << QStringList { st.columnText(0), st.columnText(1), st.columnText(2), st.columnText(3) }
                        .join(u'|');
        return rows;
    }

    RowSet<OrderItemRow> &items = dm.PedFornec();
    bool insideBatch = true;
};

} // namespace

TEST_F(BatchWriteTest, UpdatesKnownRowsByKeyAndAddsTheOthersInOneTransaction)
{
    addItem(u"PedidoFornc"_s,
        { .cotacao = u"P1"_s, .produto = u"X1"_s, .marca = u"BOSCH"_s, .descricao = u"velha"_s });

    // The known row is found ignoring case; its key columns keep their values.
    store({ u"compras;p1;2020-06-26;x1;nova;5"_s, QString(), u"LOJA;P1;2020-06-26;X2;outra;2"_s,
        u"LOJA;P1;2020-06-26;X2;outra de novo;3"_s });

    EXPECT_TRUE(insideBatch);
    EXPECT_FALSE(dm.Banco().inTransaction());
    EXPECT_EQ(stored(), (QStringList { u"COMPRAS|X1|nova|5.0"_s, u"LOJA|X2|outra de novo|3.0"_s }));
    EXPECT_EQ(items.rowCount(), 2); // the open table read what was stored
}

TEST_F(BatchWriteTest, KeysMatchByFullCaseFoldingAndTextsAreStoredAsTheColumnKeepsThem)
{
    addItem(u"PedidoFornc"_s,
        { .cotacao = u"P1"_s, .produto = u"ÇÃO-1"_s, .marca = u"BOSCH"_s, .descricao = u"velha"_s });
    const QString longText = QString(70, u'D') + u"\u20ac\u4e2d"_s;

    store({ u"compras;p1;2020-06-26;ção-1;nova;5"_s, u"C;P1;2020-06-26;X9;"_s + longText + u";1"_s });

    EXPECT_EQ(
        stored(), (QStringList { u"C|X9|"_s + QString(60, u'D') + u"|1.0"_s, u"COMPRAS|ÇÃO-1|nova|5.0"_s }));
}

TEST_F(BatchWriteTest, ARefusedAppendSkipsItsLineAndUpdatesStillRun)
{
    addItem(u"PedidoFornc"_s,
        { .cotacao = u"P1"_s, .produto = u"X1"_s, .marca = u"BOSCH"_s, .descricao = u"velha"_s });

    store({ u"COMPRAS;P1;2020-06-26;X1;nova;5"_s, u"C;P1;2020-06-26;X2;nunca;1"_s }, [] { return false; });

    EXPECT_EQ(stored(), (QStringList { u"COMPRAS|X1|nova|5.0"_s }));
}

TEST_F(BatchWriteTest, AnEmptyRequiredKeyColumnRefusesTheLineAndKeepsTheRowsBefore)
{
    EXPECT_EQ(thrownMessage([&] {
        store({ u"C;P1;2020-06-26;X1;um;1"_s, u"C;P1;2020-06-26;;dois;2"_s });
    }),
        u"Field 'PRODUTO' must have a value"_s);
    EXPECT_EQ(stored(), (QStringList { u"C|X1|um|1.0"_s }));
}

TEST_F(BatchWriteTest, ABadLineKeepsTheRowsBeforeItAndDiscardsItsHalfWrittenRow)
{
    // The third line fails at its last position, after the others were set.
    EXPECT_THROW(store({ u"C;P1;2020-06-26;X1;um;1"_s, u"C;P1;2020-06-26;X2;dois;2"_s,
                     u"C;P1;2020-06-26;X3;três;muitos"_s, u"C;P1;2020-06-26;X4;quatro;4"_s }),
        StoreError);

    EXPECT_EQ(stored(), (QStringList { u"C|X1|um|1.0"_s, u"C|X2|dois|2.0"_s }));
    EXPECT_EQ(items.rowCount(), 2);
    EXPECT_FALSE(dm.Banco().inTransaction());
}
