#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

class Database;
struct TableSchema;

// The status writes on the two released lists. Each tells the open
// row sets on the list that it changed.

// TipoStatus of every released quotation whose Cotacao is exactly cotacao
// (case counts, as in the statement the price entry has always run).
// Returns the rows changed.
int setQuotationStatus(Database &db, const QString &cotacao, const QString &status);

// TipoStatus of the released quotation stored at rowid, or, when that row is
// gone, of the first (lowest rowid) whose Cotacao equals cotacao ignoring
// case. False when there is none.
bool setQuotationStatusAt(Database &db, qint64 rowid, const QString &cotacao, const QString &status);

// TipoStatus of the released order stored at rowid. False when it is gone.
bool setOrderStatusAt(Database &db, qint64 rowid, const QString &status);

// TipoStatus, DataBaixado and HoraBaixa (to the second) of the released order
// stored at rowid, or, when that row is gone, of the first whose Pedido
// equals pedido ignoring case. False when there is none.
bool setOrderDownloadedAt(
    Database &db, qint64 rowid, const QString &pedido, const QString &status, const QDateTime &at);

// Adds a released quotation and returns its rowid. Values are stored as the
// columns keep them; an empty Cotacao is refused ("Field 'Cotacao' must have
// a value") and nothing is stored.
qint64 addReleasedQuotation(Database &db, const QString &cotacao, const QString &tipoStatus,
    QDate dataValidade, QTime ateHora, QDate dataLiberada);

// Adds a released order and returns its rowid.
qint64 addReleasedOrder(
    Database &db, const QString &pedido, const QString &tipoStatus, QDate dataLiberado, QTime horaLib);

// The keys of a released list as a fetched list is checked against them:
// every stored row, whatever filter a window left on the list, compared as
// stored (cut to the column's size) and ignoring case by full case folding.
class ReleasedKeys final {
public:
    ReleasedKeys(Database &db, const TableSchema &table, const QString &keyColumn);

    // The rowid of the first stored row with this key, or -1.
    qint64 find(const QString &key) const;
    void add(const QString &key, qint64 rowid);

private:
    QString folded(const QString &key) const;

    const TableSchema &m_table;
    int m_column;
    QHash<QString, qint64> m_rows;
};
