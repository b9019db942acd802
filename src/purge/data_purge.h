#pragma once

#include "store/order_rows.h"
#include "store/row_set.h"
#include "ui/prompts.h"

#include <QDate>
#include <QString>

class TDm;

// Deletes the rows of one kind of stored data dated on or before the day:
// "CL" released quotations, "PL" released orders, "CB" quotation items, "PB"
// order items, an empty code all four in one transaction. Rows with no date
// are never deleted; the kinds are independent of each other. First writes
// an encrypted copy of the store beside it (keeping the five newest); when
// that copy cannot be written, throws and deletes nothing. Ends with the
// message "Processo finalizado.... apagados " and the kind's name, followed
// on lines of their own by the copy's path and the older backups deleted. A
// statement the store refuses throws: the statements run before it stay
// done, the rest are not run and no message is shown.
// Every purge goes through here, from the window and from the command line.
void DeletePedCotaAntigo(Prompts &prompts, TDm &dm, const QDate &Data, const QString &op);

// What the window "Apaga dados antigos" does: lists the four kinds of stored
// data, newest first, and purges them by day.
class DataPurge final {
public:
    DataPurge(Prompts &prompts, TDm &dm);
    Q_DISABLE_COPY_MOVE(DataPurge)

    // The window's own lists, on the store's connection: the key, the date
    // and (but for the order items) the status of each row.
    using List = RowSet<DatedKeyRow>;
    List &CotasLiberadas() { return m_cotasLiberadas; }
    List &CotaBaixadas() { return m_cotaBaixadas; }
    List &PedidosLiberados() { return m_pedidosLiberados; }
    List &PedidosBaixados() { return m_pedidosBaixados; }

    // Reopens the four lists. False, with the error shown, when the store
    // cannot be read.
    bool refreshLists();

    // An arrow button: purges one kind ("CL", "PL", "CB", "PB") with no
    // question, then refreshes the lists. False, with the error shown, when
    // a statement failed (the lists are left as they were).
    bool purgeKind(const QDate &day, const QString &code);

    // "Apaga dados antigo": asks first (No preselected); on Yes purges all
    // four kinds, then refreshes the lists. False when declined or failed.
    bool purgeAll(const QDate &day);

    static QString confirmationText(const QDate &day);

private:
    bool purge(const QDate &day, const QString &code);

    Prompts &m_prompts;
    TDm &m_dm;
    List m_cotasLiberadas;
    List m_cotaBaixadas;
    List m_pedidosLiberados;
    List m_pedidosBaixados;
};
