#pragma once

#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A fresh store file with the data module opened on it.
class StoreTest : public ::testing::Test {
protected:
    StoreTest()
    {
        createDatabase(path());
        dm.openStore(path());
    }

    QString path() const { return folder.file(u"CotaKelvo.new"_s); }

    // One value straight from the file, bypassing the datasets.
    QVariant scalar(const QString &sql, const QVariantList &values = {})
    {
        Statement st(dm.Banco(), sql);
        st.bindAll(values);
        return st.step() ? st.columnValue(0) : QVariant();
    }
    qint64 count(const QString &table) { return scalar(u"SELECT count(*) FROM "_s + table).toLongLong(); }

    void addQuotation(const QString &cotacao, const QString &status, QDate liberada = {})
    {
        Table &t = dm.CotaLiberada();
        t.open();
        ASSERT_TRUE(t.append());
        t.setText(u"Cotacao"_s, cotacao);
        t.setText(u"TipoStatus"_s, status);
        t.setDate(u"DataLiberada"_s, liberada);
        t.post();
    }

    struct Item {
        QString cotacao;
        QString produto;
        QString marca;
        QString descricao = u"peça"_s;
        QVariant qtde = 1.0;
        QVariant valor = QVariant();
        QDate data = QDate(2020, 6, 26);
        QString contato = u"COMPRAS"_s;
    };

    void addItem(Table &t, const Item &item)
    {
        t.open();
        ASSERT_TRUE(t.append());
        t.setText(u"CONTATO"_s, item.contato);
        t.setText(t.tableName() == u"PedidoFornc" ? u"PEDIDO"_s : u"COTACAO"_s, item.cotacao);
        t.setDate(u"DATA"_s, item.data);
        t.setText(u"PRODUTO"_s, item.produto);
        t.setText(u"MARCA"_s, item.marca);
        t.setText(u"DESCRICAO"_s, item.descricao);
        t.setValue(u"QTDE"_s, item.qtde);
        t.setValue(u"VALOR"_s, item.valor);
        t.post();
    }

    // The values of one column of the rows as the dataset shows them.
    static QStringList column(Dataset &d, const QString &name)
    {
        QStringList out;
        const int c = d.fieldIndex(name);
        for (int r = 0; r < d.rowCount(); ++r)
            out << d.value(r, c).toString();
        return out;
    }

    TempFolder folder;
    TDm dm;
};
