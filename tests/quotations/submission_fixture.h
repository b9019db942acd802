#pragma once

#include "exchange/connectivity.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "support/temp_folder.h"

#include <QDate>
#include <QTime>

#include <optional>

// Both checks pass: the exchanges go to a local test server.
class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

// A store of its own for a submission test, with quotations and items added
// as the download would add them.
class SubmissionStore final {
public:
    SubmissionStore()
    {
        createDatabase(folder.file(QStringLiteral("CotaKelvo.new")));
        dm.openStore(folder.file(QStringLiteral("CotaKelvo.new")));
    }

    void addQuotation(const QString &cotacao, const QString &status)
    {
        Table &t = dm.CotaLiberada();
        const bool wasOpen = t.isOpen();
        if (!wasOpen)
            t.open();
        if (!t.append())
            throw StoreError(QStringLiteral("append refused"));
        t.setText(QStringLiteral("Cotacao"), cotacao);
        t.setText(QStringLiteral("TipoStatus"), status);
        t.setDate(QStringLiteral("DataValidade"), QDate(2020, 6, 30));
        t.setTime(QStringLiteral("AteHora"), QTime(17, 0));
        t.setDate(QStringLiteral("DataLiberada"), QDate(2020, 6, 26));
        t.post();
        if (!wasOpen)
            t.close();
    }

    struct Item {
        QString cotacao;
        QString produto;
        QString marca;
        std::optional<double> qtde = 10;
        std::optional<double> valor;
        QString obs;
        QString similares;
        QDate data = QDate(2020, 6, 26);
    };

    void addItem(const Item &item)
    {
        Table &t = dm.CotaFornec();
        const bool wasOpen = t.isOpen();
        if (!wasOpen)
            t.open();
        dm.setPodeIcota(true);
        if (!t.append())
            throw StoreError(QStringLiteral("append refused"));
        t.setText(QStringLiteral("CONTATO"), QStringLiteral("MARIA"));
        t.setText(QStringLiteral("COTACAO"), item.cotacao);
        t.setDate(QStringLiteral("DATA"), item.data);
        t.setText(QStringLiteral("PRODUTO"), item.produto);
        t.setText(QStringLiteral("MARCA"), item.marca);
        if (item.qtde)
            t.setFloat(QStringLiteral("QTDE"), *item.qtde);
        if (item.valor)
            t.setFloat(QStringLiteral("VALOR"), *item.valor);
        t.setText(QStringLiteral("CONDPGTO"), QStringLiteral("28 DD"));
        t.setText(QStringLiteral("SIMILARES"), item.similares);
        t.setText(QStringLiteral("OBS"), item.obs);
        t.post();
        dm.setPodeIcota(false);
        if (!wasOpen)
            t.close();
    }

    // The status of a quotation as stored, read past any filter.
    QString status(const QString &cotacao)
    {
        Query &q = dm.Fsql();
        q.close();
        q.setSql({QStringLiteral("select TipoStatus from CotaLiberadas where Cotacao = :c")});
        q.setParam(QStringLiteral("c"), cotacao);
        q.open();
        const QString s = q.isEmpty() ? QString() : q.asString(QStringLiteral("TipoStatus"));
        q.close();
        return s;
    }

    TempFolder folder;
    TDm dm;
};
