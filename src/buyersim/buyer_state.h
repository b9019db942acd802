#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <stdexcept>

// The buyer's side of the exchange as the simulator keeps it: what it has
// released to the supplier and what the supplier has sent back.
namespace buyersim {

inline constexpr int storeCount = 3;

// What a quotation and an order say alike about one product.
struct ItemLine {
    QString produto;
    QString prodFabr;
    QString descricao;
    QString un;
    QString aplicacao; // may hold line breaks, as the buyer types them
    QString marca;
    std::array<double, storeCount> qtdeLoja {};
    QString condPgto;
    QString similares;
    QString obs;

    double qtde() const { return qtdeLoja[0] + qtdeLoja[1] + qtdeLoja[2]; }
};

struct QuotationItem : ItemLine {
    std::array<QString, storeCount> cotacaoLoja;
    QString status;
    QString tipoStatus;
};

struct Quotation {
    QString numero;
    QString status; // "ABERTA" while it takes answers
    QString contato;
    QDate validade;
    QTime ateHora; // null: until the end of the validity date
    QDate liberada;
    QString agrupadas;
    QList<QuotationItem> itens;
};

struct OrderItem : ItemLine {
    double valor = 0;
};

struct Order {
    QString numero;
    QString status;
    QString contato;
    QDate liberado;
    QTime horaLiberado;
    QList<OrderItem> itens;
};

// One priced line as the supplier sent it, every field kept as received.
struct SubmittedItem {
    QString contato;
    QString cotacao;
    QString data;
    QString produto;
    QString qtde;
    QString valor;
    QString condPgto;
    QString similares;
    QString obs;
};

struct Submission {
    QString cotacao;
    QDateTime recebida;
    QList<SubmittedItem> itens;
};

class StateError final : public std::runtime_error {
public:
    explicit StateError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

class BuyerState final {
public:
    QStringList lojas;
    QList<Quotation> cotacoes;
    QList<Order> pedidos;
    QList<Submission> envios;

    const Quotation *quotation(const QString &numero) const;
    const Order *order(const QString &numero) const;
    // A quotation counts as answered once one submission for it was recorded.
    bool answered(const QString &numero) const;

    // The next free document number of the given year: the year followed by a
    // six-digit sequence shared by quotations and orders.
    QString nextNumber(int year) const;

    // The stores, quotations and orders as one JSON object. Submissions never
    // change them, and each submission is written once: a server keeps these
    // texts and assembles the file from them instead of writing it anew.
    QByteArray catalogueJson() const;
    static QByteArray submissionJson(const Submission &envio);
    static QByteArray assembleJson(const QByteArray &catalogue, const QList<QByteArray> &submissions);
    QByteArray toJson() const;
    // Throws StateError naming the first bad entry.
    static BuyerState fromJson(const QByteArray &json);

    // Throws StateError; the file is replaced atomically.
    void save(const QString &path) const;
    static void writeFile(const QString &path, const QByteArray &json);
    static BuyerState load(const QString &path);
};

// The demonstration data, dated relative to the day it is created.
BuyerState demoState(const QDate &today);

struct GeneratedNumbers {
    QString cotacao;
    QString pedido;
};

// Adds an open quotation and a released order of itemCount items each, every
// item with its own product code, for benchmarks.
GeneratedNumbers addGenerated(BuyerState &state, int itemCount, const QDate &today);

} // namespace buyersim
