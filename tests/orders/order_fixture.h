#pragma once

#include "common/clock.h"
#include "support/store_test.h"

#include <QMap>

// A store with order items for the order printouts, and a clock fixed at
// 26/06/2020 14:30:05 so that "Impresso em" is known.
class OrderStoreTest : public StoreTest {
protected:
    OrderStoreTest() { Clock::setCurrent(&clock); }
    ~OrderStoreTest() override { Clock::setCurrent(nullptr); }

    struct Line {
        QString produto;
        QString marca = u"BOSCH"_s;
        QString descricao = u"Peça"_s;
        QVariant qtde = 1.0;
        QVariant valor = 10.0;
        QVariantList lojas = { 1.0, QVariant(), QVariant() }; // QTDELOJA1..3
        QStringList nomes = { u"Loja Centro"_s, u"Loja Norte"_s, u"Loja Sul"_s };
        QString prodfabr = u"PF-"_s + produto;
        QString similares = u"SIM"_s;
        QString pedido = u"P1"_s;
    };

    // The orders and the items the data module's sets show, in their order.
    QStringList listedOrders()
    {
        QStringList out;
        for (const ReleasedOrderRow &r : dm.PedidosLiberados().rows())
            out << r.pedido;
        return out;
    }
    QStringList listedProducts()
    {
        QStringList out;
        for (const OrderItemRow &r : dm.PedFornec().rows())
            out << r.produto;
        return out;
    }
    QString selectedOrder()
    {
        const ReleasedOrderRow *r = dm.PedidosLiberados().current();
        return r ? r->pedido : QString();
    }

    void addLine(const Line &l)
    {
        Statement st(dm.Banco(),
            u"INSERT INTO PedidoFornc (CONTATO, PEDIDO, DATA, PRODUTO, PRODFABR, SIMILARES, DESCRICAO, UN, "
            "MARCA, QTDE, VALOR, QTDELOJA1, QTDELOJA2, QTDELOJA3, NOMELOJA1, NOMELOJA2, NOMELOJA3) "
            "VALUES ('COMPRAS', ?, '2020-06-26', ?, ?, ?, ?, 'UN', ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
        st.bindAll({ l.pedido, l.produto, l.prodfabr, l.similares, l.descricao, l.marca, l.qtde, l.valor,
            l.lojas.value(0), l.lojas.value(1), l.lojas.value(2), l.nomes.value(0), l.nomes.value(1),
            l.nomes.value(2) });
        st.step();
        dm.Banco().announceRowsWritten(u"PedidoFornc"_s, { dm.Banco().lastInsertId() });
    }

    void addOrder(const QString &pedido, const QString &status, const QString &baixado = {})
    {
        Statement st(dm.Banco(),
            u"INSERT INTO PedidosLiberados (Pedido, TipoStatus, DataLiberado, HoraLib, DataBaixado, "
            u"HoraBaixa) "
            "VALUES (?, ?, '2020-06-20', '09:30:00', ?, ?)"_s);
        st.bindAll({ pedido, status, baixado.isEmpty() ? QVariant() : QVariant(baixado),
            baixado.isEmpty() ? QVariant() : QVariant(u"10:00:00"_s) });
        st.step();
        dm.Banco().announceRowsWritten(u"PedidosLiberados"_s, { dm.Banco().lastInsertId() });
    }

    QStringList orders()
    {
        return rows(u"SELECT Pedido, TipoStatus, DataLiberado, HoraLib, DataBaixado, HoraBaixa "
                    "FROM PedidosLiberados ORDER BY rowid"_s);
    }

    QString status(const QString &pedido)
    {
        return rows(u"SELECT TipoStatus FROM PedidosLiberados WHERE Pedido = ?"_s, { pedido }).value(0);
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(14, 30, 5)) };
};

// An item line of "getpedforn.php" with its 20 positions; changes by position.
inline QString orderItemLine(
    const QString &pedido, const QString &produto, const QMap<int, QString> &changes = {})
{
    QStringList f { u"MARCOS"_s, pedido, u"20/06/2020"_s, produto, u"PF-"_s + produto, u"Peça "_s + produto,
        u"PC"_s, u"Gol"_s, u"BOSCH"_s, u"3"_s, u"10,5"_s, u"28 DDL"_s, u"1"_s, u"2"_s, u"0"_s, u"MATRIZ"_s,
        u"FILIAL 1"_s, u"FILIAL 2"_s, u"SIM-"_s + produto, QString() };
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        f[it.key()] = it.value();
    return f.join(u'|');
}
