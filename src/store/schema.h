#pragma once

#include "store/field.h"

#include <QStringList>

class Database;

struct IndexSchema {
    QString name; // the name windows select it by ("Chave-1")
    QString sqlName; // unique in the file ("CotacaoFornc_Chave-1")
    QStringList columns; // in key order
    bool primary = false;
};

struct TableSchema {
    QString name;
    FieldList columns;
    QList<IndexSchema> indexes;

    int columnIndex(const QString &column) const; // case-insensitive, -1 if none
    int indexIndex(const QString &index) const; // case-insensitive, -1 if none
    const IndexSchema *primaryKey() const;
};

// The columns of CotacaoFornc in the order of the file.
enum class CotacaoForncColumn {
    CONTATO,
    COTACAO,
    DATA,
    PRODUTO,
    PRODFABR,
    DESCRICAO,
    UN,
    APLICACAO,
    MARCA,
    QTDE,
    VALOR,
    STATUS,
    TIPOSTATUS,
    COTACAOAGRUPADAS,
    COTACAOLOJA1,
    COTACAOLOJA2,
    COTACAOLOJA3,
    QTDELOJA1,
    QTDELOJA2,
    QTDELOJA3,
    CONDPGTO,
    SIMILARES,
    OBS,
    NOMELOJA1,
    NOMELOJA2,
    NOMELOJA3,
    Count
};

// The columns of PedidoFornc in the order of the file.
enum class PedidoForncColumn {
    CONTATO,
    PEDIDO,
    DATA,
    PRODUTO,
    PRODFABR,
    DESCRICAO,
    UN,
    APLICACAO,
    MARCA,
    QTDE,
    VALOR,
    CONDPGTO,
    SIMILARES,
    OBS,
    QTDELOJA1,
    QTDELOJA2,
    QTDELOJA3,
    NOMELOJA1,
    NOMELOJA2,
    NOMELOJA3,
    Count
};

// The four tables of the store, each column with its type, size and
// required flag, and their indexes.
const TableSchema &cotaLiberadasSchema();
const TableSchema &cotacaoForncSchema();
const TableSchema &pedidosLiberadosSchema();
const TableSchema &pedidoForncSchema();
const QList<TableSchema> &storeSchema();
inline const Field &cotacaoForncField(CotacaoForncColumn column)
{
    return cotacaoForncSchema().columns[int(column)];
}

// Released quotations not yet "Enviada", in any letter case, as SQL on
// CotaLiberadas: the rows of the partial index that serves their deadlines,
// written alike wherever a statement is to use that index.
QString unsentQuotationCondition();

// The CREATE statements of the four tables and their indexes, and of the
// program's own tables.
QStringList schemaStatements();
// Every index of the store but the primary keys, each created only where it
// is missing: the declared ones windows select and those of the program's
// own look-ups.
QStringList indexStatements();
// The SQL of a code column's loose key, with SQLite's own functions only
// (so that any SQLite client can read and check the file): equal to
// looseCodeKey() for every code whose letters are ASCII, which lower() folds.
QString looseCodeSql(const QString &column);

// Runs indexStatements() and the program's own tables (the price list), so
// that a store made by an earlier version gains what was added since.
void addMissingIndexes(Database &db);

// The password of the store file.
QByteArray storeKey();

// Creates the encrypted store file with the four empty tables, readable by
// its owner only. Refuses (StoreError) when the file already exists.
void createDatabase(const QString &path);
