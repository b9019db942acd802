#include "support/test_store.h"

#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "store/table.h"

TestStore::TestStore()
{
    createDatabase(path());
    dm.openStore(path());
}

TestStore::TestStore(const QString &templatePath)
    : folder(templatePath)
{
    createDatabase(path());
    dm.openStore(path());
}

void TestStore::addQuotation(const QString &cotacao, const QString &status, QDate liberada)
{
    Table &t = dm.CotaLiberada();
    t.open();
    if (!t.append())
        throw StoreError(u"the test store refused a quotation"_s);
    t.setText(u"Cotacao"_s, cotacao);
    t.setText(u"TipoStatus"_s, status);
    t.setDate(u"DataValidade"_s, QDate(2020, 6, 5));
    t.setTime(u"AteHora"_s, QTime(14, 30));
    t.setDate(u"DataLiberada"_s, liberada);
    t.post();
}

void TestStore::addItem(Table &t, const Item &item)
{
    const bool podeIcota = dm.podeIcota();
    dm.setPodeIcota(true);
    t.open();
    const bool added = t.append();
    dm.setPodeIcota(podeIcota);
    if (!added)
        throw StoreError(u"the test store refused an item"_s);
    t.setText(u"CONTATO"_s, item.contato);
    t.setText(t.tableName() == u"PedidoFornc" ? u"PEDIDO"_s : u"COTACAO"_s, item.cotacao);
    t.setDate(u"DATA"_s, item.data);
    t.setText(u"PRODUTO"_s, item.produto);
    t.setText(u"MARCA"_s, item.marca);
    t.setText(u"DESCRICAO"_s, item.descricao);
    t.setValue(u"QTDE"_s, item.qtde);
    t.setValue(u"VALOR"_s, item.valor);
    const std::pair<const char16_t *, const QString *> texts[]
        = { { u"OBS", &item.obs }, { u"SIMILARES", &item.similares }, { u"APLICACAO", &item.aplicacao },
              { u"CONDPGTO", &item.condPgto } };
    for (const auto &[column, text] : texts) {
        if (!text->isEmpty())
            t.setText(QString::fromUtf16(column), *text);
    }
    t.post();
}

void TestStore::addItem(const Item &item)
{
    addItem(dm.CotaFornec(), item);
}

void TestStore::exec(const QString &sql, const QVariantList &values)
{
    Statement st(dm.Banco(), sql);
    st.bindAll(values);
    dm.Banco().executeTracked(st);
}

QVariant TestStore::scalar(const QString &sql, const QVariantList &values)
{
    Statement st(dm.Banco(), sql);
    st.bindAll(values);
    return st.step() ? st.columnValue(0) : QVariant();
}

qint64 TestStore::count(const QString &table)
{
    return scalar(u"SELECT count(*) FROM "_s + table).toLongLong();
}

QStringList TestStore::rows(const QString &sql, const QVariantList &values)
{
    Statement st(dm.Banco(), sql);
    st.bindAll(values);
    QStringList out;
    while (st.step()) {
        QStringList cols;
        for (int i = 0; i < st.columnCount(); ++i)
            cols << (st.columnIsNull(i) ? u"~"_s : st.columnText(i));
        out << cols.join(u'|');
    }
    return out;
}

QStringList TestStore::released()
{
    return rows(u"SELECT Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada FROM CotaLiberadas "
                u"ORDER BY Cotacao"_s);
}

QString TestStore::status(const QString &cotacao)
{
    return rows(u"SELECT TipoStatus FROM CotaLiberadas WHERE Cotacao = ?"_s, { cotacao }).value(0);
}

QStringList TestStore::column(Dataset &d, const QString &name)
{
    QStringList out;
    const int c = d.fieldIndex(name);
    for (int r = 0; r < d.rowCount(); ++r)
        out << d.value(r, c).toString();
    return out;
}
