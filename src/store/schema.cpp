#include "store/schema.h"

#include "common/part_code.h"
#include "store/price_list_store.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

Field text(const QString &name, int size, bool required = false, const QString &label = {})
{
    Field f;
    f.name = name;
    f.type = FieldType::Text;
    f.size = size;
    f.required = required;
    f.label = label;
    return f;
}

Field typed(const QString &name, FieldType type, const QString &format = {}, const QString &label = {},
    bool required = false)
{
    Field f;
    f.name = name;
    f.type = type;
    f.required = required;
    f.label = label;
    f.displayFormat = format;
    return f;
}

const QString kDate = u"dd/mm/yyyy"_s;
const QString kHour = u"HH:NN"_s;
const QString kMoney = u"0.00"_s;

// The item columns of quotation and order items, in the order of the file:
// "Select * from PedidoFornc" lists them so.
FieldList itemColumns(const QString &keyName, bool quotation)
{
    FieldList f {
        text(u"CONTATO"_s, 15, true),
        text(keyName, 17, true),
        typed(u"DATA"_s, FieldType::Date, kDate, {}, true),
        text(u"PRODUTO"_s, 15, true),
        text(u"PRODFABR"_s, 20),
        text(u"DESCRICAO"_s, 60),
        text(u"UN"_s, 2),
        text(u"APLICACAO"_s, 200),
        text(u"MARCA"_s, 20),
        typed(u"QTDE"_s, FieldType::Float, kMoney),
        typed(u"VALOR"_s, FieldType::Float, kMoney),
    };
    const FieldList terms { text(u"CONDPGTO"_s, 60), text(u"SIMILARES"_s, 20), text(u"OBS"_s, 200) };
    if (quotation) {
        f << text(u"STATUS"_s, 1) << text(u"TIPOSTATUS"_s, 7) << text(u"COTACAOAGRUPADAS"_s, 120)
          << text(u"COTACAOLOJA1"_s, 12) << text(u"COTACAOLOJA2"_s, 12) << text(u"COTACAOLOJA3"_s, 12);
    } else {
        f << terms;
    }
    const QString storeFormat = quotation ? QString() : kMoney;
    f << typed(u"QTDELOJA1"_s, FieldType::Float, storeFormat)
      << typed(u"QTDELOJA2"_s, FieldType::Float, storeFormat)
      << typed(u"QTDELOJA3"_s, FieldType::Float, storeFormat);
    if (quotation)
        f << terms;
    f << text(u"NOMELOJA1"_s, 20) << text(u"NOMELOJA2"_s, 20) << text(u"NOMELOJA3"_s, 20);
    return f;
}

IndexSchema index(const QString &table, const QString &name, const QStringList &columns, bool primary)
{
    return { name, table + u'_' + name, columns, primary };
}

QString quotedName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

QString declaredType(const Field &f)
{
    switch (f.type) {
    case FieldType::Text:
        return u"VARCHAR(%1)"_s.arg(f.size);
    case FieldType::Float:
        return u"FLOAT"_s;
    case FieldType::Integer:
        return u"INTEGER"_s;
    case FieldType::Date:
        return u"DATE"_s;
    case FieldType::Time:
        return u"TIME"_s;
    }
    return {};
}

} // namespace

int TableSchema::columnIndex(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TableSchema::indexIndex(const QString &name) const
{
    for (int i = 0; i < indexes.size(); ++i) {
        if (indexes[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const IndexSchema *TableSchema::primaryKey() const
{
    for (const IndexSchema &i : indexes) {
        if (i.primary)
            return &i;
    }
    return nullptr;
}

const TableSchema &cotaLiberadasSchema()
{
    static const TableSchema schema {
        u"CotaLiberadas"_s,
        {
            // The key column must hold a value although no label says so.
            text(u"Cotacao"_s, 17, true, u"Cotação"_s),
            text(u"TipoStatus"_s, 7, false, u"Status"_s),
            typed(u"DataValidade"_s, FieldType::Date, kDate, u"Data Validade"_s),
            typed(u"AteHora"_s, FieldType::Time, kHour, u"Até Hora"_s),
            typed(u"DataLiberada"_s, FieldType::Date),
        },
        { index(u"CotaLiberadas"_s, u"IndexName"_s, { u"Cotacao"_s }, true) },
    };
    return schema;
}

const TableSchema &cotacaoForncSchema()
{
    static const TableSchema schema {
        u"CotacaoFornc"_s,
        itemColumns(u"COTACAO"_s, true),
        {
            index(u"CotacaoFornc"_s, u"Chave-1"_s, { u"CONTATO"_s, u"COTACAO"_s, u"DATA"_s, u"PRODUTO"_s },
                true),
            index(u"CotacaoFornc"_s, u"Por_Marca"_s, { u"MARCA"_s }, false),
            index(u"CotacaoFornc"_s, u"Por_Desc"_s, { u"DESCRICAO"_s }, false),
        },
    };
    return schema;
}

const TableSchema &pedidosLiberadosSchema()
{
    static const TableSchema schema {
        u"PedidosLiberados"_s,
        {
            text(u"Pedido"_s, 17),
            text(u"TipoStatus"_s, 10),
            typed(u"DataLiberado"_s, FieldType::Date, {}, u"Dt Liberado"_s),
            typed(u"HoraLib"_s, FieldType::Time, {}, u"Hora Liberado"_s),
            typed(u"DataBaixado"_s, FieldType::Date, {}, u"Dt Baixado"_s),
            typed(u"HoraBaixa"_s, FieldType::Time, {}, u"Hora Baixado"_s),
        },
        {},
    };
    return schema;
}

const TableSchema &pedidoForncSchema()
{
    static const TableSchema schema {
        u"PedidoFornc"_s,
        itemColumns(u"PEDIDO"_s, false),
        { index(
            u"PedidoFornc"_s, u"Chave-1"_s, { u"CONTATO"_s, u"PEDIDO"_s, u"DATA"_s, u"PRODUTO"_s }, true) },
    };
    return schema;
}

const QList<TableSchema> &storeSchema()
{
    static const QList<TableSchema> all { cotaLiberadasSchema(), cotacaoForncSchema(),
        pedidosLiberadosSchema(), pedidoForncSchema() };
    return all;
}

QString unsentQuotationCondition()
{
    // ASCII NOCASE is the full case folding the windows use here: no other
    // letter folds to one of "enviada".
    return u"(TipoStatus IS NULL OR TipoStatus <> 'Enviada' COLLATE NOCASE)"_s;
}

namespace {

// Indexes no window selects: they serve the program's own look-ups.
struct LookupIndex {
    QString name;
    QString table;
    QString columns; // as written in CREATE INDEX
    QString where = QString(); // the rows of a partial index
};

const QList<LookupIndex> &lookupIndexes()
{
    static const QList<LookupIndex> all {
        // The items of one quotation without reading every item of the store
        // (the quotation is only the key's second column).
        { u"CotacaoFornc_Cotacao"_s, u"CotacaoFornc"_s, u"\"COTACAO\""_s },
        // The last price of a part: its items newest first, holding every
        // column the look-up reads, so that no table row is read.
        { u"CotacaoFornc_Prodfabr"_s, u"CotacaoFornc"_s,
            u"\"PRODFABR\" COLLATE NOCASE, \"DATA\", \"COTACAO\", \"MARCA\", \"VALOR\""_s },
        // The same by the code's loose key, which finds a part however its
        // code was written.
        { u"CotacaoFornc_Prodfabr_Solto"_s, u"CotacaoFornc"_s,
            looseCodeSql(u"\"PRODFABR\""_s)
                + u", \"DATA\", \"COTACAO\", \"MARCA\", \"VALOR\", \"PRODFABR\""_s },
        // The day at a glance at every start: the deadlines of the quotations
        // not yet sent (a few among years of sent ones), and the orders that
        // wait for attendance. The condition is written as the counts write it.
        { u"CotaLiberadas_Unsent"_s, u"CotaLiberadas"_s, u"\"DataValidade\", \"AteHora\", \"TipoStatus\""_s,
            unsentQuotationCondition() },
        { u"PedidosLiberados_TipoStatus"_s, u"PedidosLiberados"_s, u"\"TipoStatus\""_s },
    };
    return all;
}

} // namespace

QString looseCodeSql(const QString &column)
{
    QString sql = column;
    for (const QChar c : looseCodeIgnored())
        sql = u"replace(%1, char(%2), '')"_s.arg(sql).arg(c.unicode());
    return u"lower(%1)"_s.arg(sql);
}

QStringList indexStatements()
{
    QStringList out;
    const auto create = [&out](const QString &name, const QString &table, const QString &columns,
                            const QString &where) {
        out << u"CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)"_s.arg(quotedName(name), quotedName(table), columns)
                + (where.isEmpty() ? QString() : u" WHERE "_s + where);
    };
    for (const TableSchema &table : storeSchema()) {
        for (const IndexSchema &i : table.indexes) {
            if (i.primary)
                continue;
            QStringList cols;
            for (const QString &c : i.columns)
                cols << quotedName(c);
            create(i.sqlName, table.name, cols.join(u", "_s), QString());
        }
    }
    for (const LookupIndex &i : lookupIndexes())
        create(i.name, i.table, i.columns, i.where);
    return out;
}

QStringList schemaStatements()
{
    QStringList out;
    for (const TableSchema &table : storeSchema()) {
        QStringList parts;
        for (const Field &f : table.columns)
            parts << quotedName(f.name) + u' ' + declaredType(f) + (f.required ? u" NOT NULL"_s : QString());
        if (const IndexSchema *key = table.primaryKey()) {
            QStringList cols;
            for (const QString &c : key->columns)
                cols << quotedName(c);
            parts << u"CONSTRAINT %1 PRIMARY KEY (%2)"_s.arg(quotedName(key->sqlName), cols.join(u", "_s));
        }
        out << u"CREATE TABLE %1 (%2)"_s.arg(quotedName(table.name), parts.join(u", "_s));
    }
    return out + indexStatements() + priceListStatements();
}

void addMissingIndexes(Database &db)
{
    Transaction tx(db);
    for (const QString &statement : indexStatements() + priceListStatements())
        db.execute(statement);
    tx.commit();
}

QByteArray storeKey()
{
    return QByteArrayLiteral("fohwlez");
}

void createDatabase(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    QFile file(full);
    // Made empty and private first, so the file never exists readable by others.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(full))
            throw StoreError(u"O banco de dados '%1' já existe"_s.arg(full));
        throw StoreError(u"Não foi possível criar o banco de dados '%1': %2"_s.arg(full, file.errorString()));
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.close();
    try {
        Database db;
        db.open(full, storeKey());
        Transaction tx(db);
        for (const QString &statement : schemaStatements())
            db.execute(statement);
        tx.commit();
    } catch (...) {
        QFile::remove(full);
        throw;
    }
}
