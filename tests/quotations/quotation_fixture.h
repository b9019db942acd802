#pragma once

#include "support/fake_net.h"
#include "support/scripted_transport.h"
#include "support/test_store.h"

#include <QMap>
#include <QStringList>

// An item line of the items script with its 26 positions; changes by position.
inline QString itemLine(
    const QString &cotacao, const QString &produto, const QMap<int, QString> &changes = {})
{
    QStringList f { QStringLiteral("ACME"), cotacao, QStringLiteral("01/06/2020"), produto,
        QStringLiteral("PF-") + produto, QStringLiteral("Peça ") + produto, QStringLiteral("UN"),
        QStringLiteral("Gol"), QStringLiteral("BOSCH"), QStringLiteral("10,5"), QString(),
        QStringLiteral("A"), QStringLiteral("ABERTA"), QStringLiteral("G1"), QStringLiteral("L1"),
        QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("4"), QStringLiteral("6,5"),
        QStringLiteral("0"), QStringLiteral("30 dias"), QString(), QString(), QStringLiteral("Loja A"),
        QStringLiteral("Loja B"), QStringLiteral("Loja C") };
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        f[it.key()] = it.value();
    return f.join(QLatin1Char('|'));
}

// An item of quotation 4711 with the fields the spreadsheet exchange writes.
inline void addSheetItem(TestStore &store, const QString &produto, const QString &marca,
    const QString &prodfabr, const QString &descricao, const QString &un, const QVariant &qtde,
    const QVariant &valor, const QVariant &similares)
{
    store.exec(QStringLiteral("INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, "
                              "DESCRICAO, UN, QTDE, VALOR, SIMILARES) "
                              "VALUES ('ACME', '4711', '2020-06-01', ?, ?, ?, ?, ?, ?, ?, ?)"),
        { produto, marca, prodfabr, descricao, un, qtde, valor, similares });
}

// The items of the downloaded quotation 4711 that the spreadsheet tests
// price, added out of brand order: one without a price, one without a
// quantity.
inline void addSheetQuotation(TestStore &store)
{
    store.addQuotation(QStringLiteral("4711"), QStringLiteral("Baixada"));
    addSheetItem(store, QStringLiteral("P1"), QStringLiteral("BOSCH"), QStringLiteral("0986AB1234"),
        QStringLiteral("Pastilha de freio dianteira"), QStringLiteral("JG"), 2, 45.9, {});
    addSheetItem(store, QStringLiteral("P2"), QStringLiteral("NGK"), QStringLiteral("BKR6E"),
        QStringLiteral("Vela de ignição"), QStringLiteral("PC"), 8, {}, {});
    addSheetItem(store, QStringLiteral("P3"), QStringLiteral("MAHLE"), QStringLiteral("OC90"),
        QStringLiteral("Filtro de óleo"), QStringLiteral("PC"), 1.5, 10, QStringLiteral("OLD"));
    addSheetItem(store, QStringLiteral("P4"), QStringLiteral("ACDELCO"), QStringLiteral("X9"),
        QStringLiteral("Sem quantidade"), QStringLiteral("UN"), {}, 3.25, QStringLiteral("SIM"));
}
