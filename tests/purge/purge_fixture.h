#pragma once

#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/row_insert.h"
#include "support/temp_folder.h"

#include <QStringList>

// A store of its own with rows of the four kinds, written and read back
// straight through SQL, as an outside client sees the file.
class PurgeStore {
public:
    PurgeStore()
    {
        folder.write(QStringLiteral("server.new"), "http://127.0.0.1:1/kelvo\r\n");
        createDatabase(folder.file(QStringLiteral("CotaKelvo.new")));
        dm.openStore(folder.file(QStringLiteral("CotaKelvo.new")));
    }

    void exec(const QString &sql, const QVariantList &values = {})
    {
        execAnnounced(dm.Banco(), sql, values,
            { QStringLiteral("CotaLiberadas"), QStringLiteral("CotacaoFornc"),
                QStringLiteral("PedidosLiberados"), QStringLiteral("PedidoFornc") });
    }

    QStringList rows(const QString &sql)
    {
        Statement st(dm.Banco(), sql);
        QStringList out;
        while (st.step()) {
            QStringList cols;
            for (int i = 0; i < st.columnCount(); ++i)
                cols << st.columnText(i);
            out << cols.join(QLatin1Char('|'));
        }
        return out;
    }

    // One row of each kind, keyed by key, with its date column holding date
    // as stored text (an invalid QVariant for NULL, where the column allows it).
    void addAll(const QString &key, const QVariant &date)
    {
        exec(QStringLiteral(
                 "INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataLiberada) VALUES (?, 'Enviada', ?)"),
            { key, date });
        exec(QStringLiteral(
                 "INSERT INTO PedidosLiberados (Pedido, TipoStatus, DataLiberado) VALUES (?, 'Baixado', ?)"),
            { key, date });
        if (!date.isValid())
            return; // the item tables require a date
        exec(QStringLiteral("INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, TIPOSTATUS) "
                            "VALUES ('ACME', ?, ?, 'P1', 'ABERTA')"),
            { key, date });
        exec(QStringLiteral(
                 "INSERT INTO PedidoFornc (CONTATO, PEDIDO, DATA, PRODUTO) VALUES ('ACME', ?, ?, 'P1')"),
            { key, date });
    }

    // The keys left in each table, in key order, as "CL:a,b PL:... CB:... PB:...".
    QString left()
    {
        const auto keys = [this](const QString &sql) { return rows(sql).join(QLatin1Char(',')); };
        return QStringLiteral("CL:") + keys(QStringLiteral("SELECT Cotacao FROM CotaLiberadas ORDER BY 1"))
            + QStringLiteral(" PL:") + keys(QStringLiteral("SELECT Pedido FROM PedidosLiberados ORDER BY 1"))
            + QStringLiteral(" CB:") + keys(QStringLiteral("SELECT COTACAO FROM CotacaoFornc ORDER BY 1"))
            + QStringLiteral(" PB:") + keys(QStringLiteral("SELECT PEDIDO FROM PedidoFornc ORDER BY 1"));
    }

    TempFolder folder;
    TDm dm;
};
