#pragma once

#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

class Database;

// The reads behind the three printouts: each runs one statement with bound
// values and returns the lines in printing order. An empty text reads as an
// empty string, an empty number as no value.

// An item of the quotation or the order printout.
struct ItemPrintLine {
    QString cotacao {}; // the quotation's number; empty for an order
    QString marca {};
    QString prodfabr {};
    QString similares {};
    QString descricao {};
    QString un {};
    std::optional<double> qtde {};
    std::optional<double> valor {};
};

// The quotation items the price entry shows, by brand (the index
// Por_Marca, then as added): those of one quotation (COTACAO exactly as
// given), or all of them without one.
std::vector<ItemPrintLine> quotationPrintLines(const Database &db, const std::optional<QString> &cotacao);

// The items of one order (PEDIDO exactly as given) by brand, and those of one
// brand as added.
std::vector<ItemPrintLine> orderPrintLines(const Database &db, const QString &pedido);

// One store's share of an order item.
struct StorePickingLine {
    QString loja {}; // the store's name
    QString marca {};
    QString produto {}; // the maker's code
    QString similares {};
    QString descricao {};
    QString un {};
    double qtdeLoja = 0;
    double valor = 0;
    double vlTot = 0; // qtdeLoja × valor
};

// For each item of one order and each of its three stores with a quantity
// whose value (quantity × price) is above zero, one line, every such line
// even where two agree in every column, ordered by store name and then by
// the other columns: the lines of a store come together.
std::vector<StorePickingLine> storePickingLines(const Database &db, const QString &pedido);
