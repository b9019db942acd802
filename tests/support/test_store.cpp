#include "support/test_store.h"

#include "support/row_insert.h"

#include "store/released_writes.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"

namespace {

QStringList storeTables()
{
    QStringList names;
    for (const TableSchema &t : storeSchema())
        names << t.name;
    return names;
}

} // namespace

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
    dm.CotaLiberada().open(); // as the tests find it: open, read again
    const qint64 rowid
        = addReleasedQuotation(dm.Banco(), cotacao, status, QDate(2020, 6, 5), QTime(14, 30), liberada);
    dm.Banco().announceRowsWritten(cotaLiberadasSchema().name, { rowid });
}

void TestStore::addItem(const QString &table, const Item &item)
{
    const bool order = table.compare(u"PedidoFornc"_s, Qt::CaseInsensitive) == 0;
    const TableSchema &schema = order ? pedidoForncSchema() : cotacaoForncSchema();
    // As the tests find the table: open, read again.
    if (order)
        dm.PedFornec().open();
    else
        dm.CotaFornec().open();
    insertRow(dm.Banco(), schema,
        { { u"CONTATO"_s, item.contato }, { order ? u"PEDIDO"_s : u"COTACAO"_s, item.cotacao },
            { u"DATA"_s, item.data }, { u"PRODUTO"_s, item.produto }, { u"MARCA"_s, item.marca },
            { u"DESCRICAO"_s, item.descricao }, { u"QTDE"_s, item.qtde }, { u"VALOR"_s, item.valor },
            { u"OBS"_s, item.obs }, { u"SIMILARES"_s, item.similares }, { u"APLICACAO"_s, item.aplicacao },
            { u"CONDPGTO"_s, item.condPgto } });
}

void TestStore::addItem(const Item &item)
{
    addItem(cotacaoForncSchema().name, item);
}

void TestStore::exec(const QString &sql, const QVariantList &values)
{
    // Whatever it wrote, every set of the store reads itself again.
    execAnnounced(dm.Banco(), sql, values, storeTables());
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
