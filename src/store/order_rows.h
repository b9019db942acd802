#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <array>
#include <optional>
#include <vector>

class Database;

// A released order as the order lists show it (a row of PedidosLiberados).
// An empty or unreadable date or time is an invalid one.
struct ReleasedOrderRow {
    qint64 rowid = -1;
    QString pedido {};
    QString tipoStatus {};
    QDate dataLiberado {};
    QTime horaLib {};
    QDate dataBaixado {};
    QTime horaBaixa {};
};

// The released orders as stored (by rowid): all of them, or those whose
// TipoStatus is exactly tipoStatus. With ids, only those rows of that choice.
std::vector<ReleasedOrderRow> readReleasedOrders(
    Database &db, const std::optional<QString> &tipoStatus, const QList<qint64> *ids = nullptr);

// An item of a downloaded order (a row of PedidoFornc), every column of the
// file. An empty number has no value: it is not zero.
struct OrderItemRow {
    qint64 rowid = -1;
    QString contato {};
    QString pedido {};
    QDate data {};
    QString produto {};
    QString prodfabr {};
    QString descricao {};
    QString un {};
    QString aplicacao {};
    QString marca {};
    std::optional<double> qtde {};
    std::optional<double> valor {};
    QString condpgto {};
    QString similares {};
    QString obs {};
    std::array<std::optional<double>, 3> qtdeLoja {};
    std::array<QString, 3> nomeLoja {};
};

// The order items as stored (by rowid): all of them, or those of one order
// (PEDIDO exactly as given). With ids, only those rows of that choice.
std::vector<OrderItemRow> readOrderItems(
    Database &db, const std::optional<QString> &pedido, const QList<qint64> *ids = nullptr);

// The four lists of the purge window, newest first, as the store gives them:
// a row of each carries its position in the answer as its rowid.
struct DatedKeyRow {
    qint64 rowid = -1;
    QString key {}; // Cotacao or Pedido
    QDate date {};
    QString tipoStatus {}; // empty for the order items' list
};

std::vector<DatedKeyRow> readReleasedQuotationDates(Database &db); // CotaLiberadas
std::vector<DatedKeyRow> readQuotationItemDates(Database &db); // CotacaoFornc, one row a quotation and day
std::vector<DatedKeyRow> readReleasedOrderDates(Database &db); // PedidosLiberados
std::vector<DatedKeyRow> readOrderItemDates(Database &db); // PedidoFornc, one row an order and day
