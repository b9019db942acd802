#pragma once

#include <QDateTime>
#include <QString>

class Database;

// The status writes on the two released lists. Each tells the open
// datasets on the list that it changed.

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
