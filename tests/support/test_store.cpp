#include "support/test_store.h"

#include "store/released_writes.h"
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
    const std::pair<const char16_t *, QVariant> given[] = { { u"CONTATO", item.contato },
        { schema.name == u"PedidoFornc" ? u"PEDIDO" : u"COTACAO", item.cotacao }, { u"DATA", item.data },
        { u"PRODUTO", item.produto }, { u"MARCA", item.marca }, { u"DESCRICAO", item.descricao },
        { u"QTDE", item.qtde }, { u"VALOR", item.valor }, { u"OBS", item.obs },
        { u"SIMILARES", item.similares }, { u"APLICACAO", item.aplicacao }, { u"CONDPGTO", item.condPgto } };
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const auto &[name, value] : given) {
        const int column = schema.columnIndex(QString::fromUtf16(name));
        // As the program stores a value: converted, cut to the column, a
        // required column refused when empty.
        const QVariant stored = schema.columns[column].storable(value);
        if (!stored.isValid())
            continue;
        columns << u'"' + schema.columns[column].name + u'"';
        marks << u"?"_s;
        values << stored;
    }
    Statement insert(dm.Banco(),
        u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(
            schema.name, columns.join(u", "_s), marks.join(u", "_s)));
    insert.bindAll(values);
    insert.step();
    dm.Banco().announceRowsWritten(schema.name, { dm.Banco().lastInsertId() });
}

void TestStore::addItem(Table &table, const Item &item)
{
    table.open();
    addItem(table.tableName(), item);
}

void TestStore::addItem(const Item &item)
{
    addItem(cotacaoForncSchema().name, item);
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

Table &TestStore::itemsTable()
{
    if (!m_itemsTable) {
        m_itemsTable = std::make_shared<Table>(dm.Banco(), cotacaoForncSchema(), u"CotaFornec"_s);
        m_itemsTable->setIndexName(u"Por_Marca"_s);
        m_itemsTable->setBeforeInsert([this] { return dm.podeIcota(); });
        m_itemsTable->fieldByName(u"APLICACAO"_s).getText
            = [](const QVariant &value) { return value.toString().replace(u'\r', u' '); };
    }
    return *m_itemsTable;
}
