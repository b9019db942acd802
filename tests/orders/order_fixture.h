#pragma once

#include "common/clock.h"
#include "support/test_store.h"

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

    void addLine(const Line &l)
    {
        Statement st(dm.Banco(),
            u"INSERT INTO PedidoFornc (CONTATO, PEDIDO, DATA, PRODUTO, PRODFABR, SIMILARES, DESCRICAO, UN, "
            "MARCA, QTDE, VALOR, QTDELOJA1, QTDELOJA2, QTDELOJA3, NOMELOJA1, NOMELOJA2, NOMELOJA3) "
            "VALUES ('COMPRAS', ?, '2020-06-26', ?, ?, ?, ?, 'UN', ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
        st.bindAll({ l.pedido, l.produto, l.prodfabr, l.similares, l.descricao, l.marca, l.qtde, l.valor,
            l.lojas.value(0), l.lojas.value(1), l.lojas.value(2), l.nomes.value(0), l.nomes.value(1),
            l.nomes.value(2) });
        dm.Banco().executeTracked(st);
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(14, 30, 5)) };
};
