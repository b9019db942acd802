#include "store/printout_reads.h"
#include "store/schema.h"
#include "support/row_insert.h"
#include "support/store_test.h"

// How the store keeps and reads back what the program gives it.
using StoreRules = StoreTest;

TEST_F(StoreRules, StorePickingGivesEveryStoreLineInAscendingOrderCaseCounting)
{
    const auto add = [&](const QString &produto, const QStringList &lojas, const QList<QVariant> &qtdes) {
        QList<std::pair<QString, QVariant>> values { { u"CONTATO"_s, u"COMPRAS"_s }, { u"PEDIDO"_s, u"77"_s },
            { u"DATA"_s, QDate(2020, 7, 1) }, { u"PRODUTO"_s, produto }, { u"PRODFABR"_s, produto },
            { u"MARCA"_s, u"MARCA"_s }, { u"VALOR"_s, 10.0 } };
        for (int i = 0; i < 3; ++i) {
            values.append({ u"NOMELOJA%1"_s.arg(i + 1), lojas[i] });
            values.append({ u"QTDELOJA%1"_s.arg(i + 1), qtdes[i] });
        }
        insertRow(dm.Banco(), pedidoForncSchema(), values);
    };
    // Two stores of the same name with the same line: two lines, each store
    // gets its goods. A null and a zero quantity: none.
    add(u"X1"_s, { u"LOJA A"_s, u"LOJA A"_s, u"Centro"_s }, { 2.0, 2.0, QVariant() });
    add(u"X2"_s, { u"bairro"_s, u"LOJA A"_s, u"Centro"_s }, { 1.0, 0.0, 4.0 });

    QStringList lojas, produtos;
    const std::vector<StorePickingLine> lines = storePickingLines(dm.Banco(), u"77"_s);
    for (const StorePickingLine &line : lines) {
        lojas << line.loja;
        produtos << line.produto;
    }
    EXPECT_EQ(lojas, (QStringList { u"Centro"_s, u"LOJA A"_s, u"LOJA A"_s, u"bairro"_s }));
    EXPECT_EQ(produtos, (QStringList { u"X2"_s, u"X1"_s, u"X1"_s, u"X2"_s }));
    EXPECT_EQ(lines.back().vlTot, 10.0);
}

TEST_F(StoreRules, TextsAreKeptAsTheAnsiCodePageHoldsThemCutToSizeAndEndingAtNul)
{
    struct Case {
        QString given;
        QString stored;
    };
    const QList<Case> cases {
        { u"ABERTA-LONGA"_s, u"ABERTA-"_s }, // 7 characters
        { QString::fromUtf16(u"AB\u0000CD", 5), u"AB"_s }, // ends at code 0
        { u"Ação€"_s, u"Ação€"_s }, // all in code page 1252
        { u"日本"_s, u"??"_s }, // not in it
        { QString::fromUtf16(u"\U0001F600x"), u"?x"_s }, // one character, one "?"
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString key = QString::number(++n);
        addQuotation(key, c.given);
        EXPECT_EQ(
            scalar(u"SELECT TipoStatus FROM CotaLiberadas WHERE Cotacao = ?"_s, { key }).toString(), c.stored)
            << c.given.toStdString();
    }
}
