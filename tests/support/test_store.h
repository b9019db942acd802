#pragma once

#include "store/data_module.h"
#include "support/temp_folder.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <memory>

using namespace Qt::StringLiterals;

// A store of its own for one test or benchmark: a fresh database file in a
// temporary folder, made and opened as the program makes and opens it, ways to add rows as the program
// adds them, and ways to read back what the file holds.
class TestStore {
public:
    TestStore();
    // In a temporary folder made after templatePath (see QTemporaryDir).
    explicit TestStore(const QString &templatePath);
    TestStore(const TestStore &) = delete;
    TestStore &operator=(const TestStore &) = delete;

    QString path() const { return folder.file(u"CotaKelvo.new"_s); }

    // A released quotation, due on 05/06/2020 at 14:30, added as the
    // program adds one; CotaLiberada is left open.
    void addQuotation(const QString &cotacao, const QString &status, QDate liberada = QDate(2020, 6, 1));

    // An item of a quotation (or, in PedidoFornc, of an order: cotacao is
    // then its PEDIDO). Empty texts are left unset.
    struct Item {
        QString cotacao = QString();
        QString produto = QString();
        QString marca = QString();
        QVariant qtde = 1.0;
        QVariant valor = QVariant();
        QString obs = QString();
        QString similares = QString();
        QString descricao = u"peça"_s;
        QString aplicacao = QString();
        QDate data = QDate(2020, 6, 26);
        QString contato = u"COMPRAS"_s;
        QString condPgto = QString();
    };
    // Added to CotacaoFornc or PedidoFornc as the program stores a row; the
    // data module's set of that table is left open.
    void addItem(const QString &table, const Item &item);
    void addItem(const Item &item); // to CotacaoFornc

    // Straight on the file, past the workflows; the open sets follow.
    void exec(const QString &sql, const QVariantList &values = {});
    QVariant scalar(const QString &sql, const QVariantList &values = {});
    qint64 count(const QString &table);
    // Each row as its columns' stored texts joined by "|", NULL as "~".
    QStringList rows(const QString &sql, const QVariantList &values = {});
    // CotaLiberadas in key order: Cotacao|TipoStatus|DataValidade|AteHora|DataLiberada.
    QStringList released();
    QString status(const QString &cotacao);

    TempFolder folder;
    TDm dm;
};
