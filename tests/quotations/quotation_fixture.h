#pragma once

#include "exchange/connectivity.h"
#include "exchange/http_transport.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/temp_folder.h"

#include <QStringList>

#include <deque>
#include <stdexcept>


// A store of its own for one test, with helpers to seed rows and read back
// what was stored, as text.
class QuotationStore {
public:
    QuotationStore()
    {
        createDatabase(path());
        dm.openStore(path());
    }
    QString path() const { return folder.file(QStringLiteral("CotaKelvo.new")); }

    void exec(const QString &sql, const QVariantList &values = {})
    {
        Statement st(dm.Banco(), sql);
        st.bindAll(values);
        dm.Banco().executeTracked(st);
    }

    void addReleased(const QString &cotacao, const QString &status)
    {
        exec(QStringLiteral("INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada) "
                            "VALUES (?, ?, '2020-06-05', '14:30:00', '2020-06-01')"),
             {cotacao, status});
    }

    void addItem(const QString &cotacao, const QString &produto, const QString &marca, const QVariant &valor = {})
    {
        exec(QStringLiteral("INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, DESCRICAO, QTDE, VALOR, "
                            "APLICACAO, OBS) VALUES ('ACME', ?, '2020-06-01', ?, ?, 'Peça ' || ?, 2, ?, 'uso\rgeral', "
                            "'obs ' || ?)"),
             {cotacao, produto, marca, produto, valor, produto});
    }

    // Rows of a statement, each as its columns' stored texts joined by "|".
    QStringList rows(const QString &sql, const QVariantList &values = {})
    {
        Statement st(dm.Banco(), sql);
        st.bindAll(values);
        QStringList out;
        while (st.step()) {
            QStringList cols;
            for (int i = 0; i < st.columnCount(); ++i)
                cols << (st.columnIsNull(i) ? QStringLiteral("~") : st.columnText(i));
            out << cols.join(QLatin1Char('|'));
        }
        return out;
    }

    QStringList released()
    {
        return rows(QStringLiteral("SELECT Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada FROM CotaLiberadas "
                                   "ORDER BY Cotacao"));
    }

    QString status(const QString &cotacao)
    {
        return rows(QStringLiteral("SELECT TipoStatus FROM CotaLiberadas WHERE Cotacao = ?"), {cotacao}).value(0);
    }

    TempFolder folder;
    TDm dm;
};

class FakeNet final : public Connectivity {
public:
    bool connected = true;
    QString problem;
    bool IsConnected() override { return connected; }
    QString checkkelvo(const QString &) override { return problem; }
};

// Answers GET requests from a script and records the addresses asked for.
class FakeServer final : public HttpTransport {
public:
    QStringList addresses;
    std::deque<QString> answers;
    QString failure; // when set, the next request throws it

    QString post(const QString &, const MultipartForm &) override
    {
        throw std::logic_error("the released quotations post nothing");
    }
    void setRequestContentType(const QString &) override {}
    void setWaitHook(std::function<void()>) override {}
    QString get(const QString &address) override
    {
        addresses << address;
        if (!failure.isEmpty())
            throw std::runtime_error(failure.toStdString());
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

// An item line of the items script with its 26 positions; changes by position.
inline QString itemLine(const QString &cotacao, const QString &produto, const QMap<int, QString> &changes = {})
{
    QStringList f{QStringLiteral("ACME"), cotacao, QStringLiteral("01/06/2020"), produto,
                  QStringLiteral("PF-") + produto, QStringLiteral("Peça ") + produto, QStringLiteral("UN"),
                  QStringLiteral("Gol"), QStringLiteral("BOSCH"), QStringLiteral("10,5"), QString(),
                  QStringLiteral("A"), QStringLiteral("ABERTA"), QStringLiteral("G1"), QStringLiteral("L1"),
                  QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("4"), QStringLiteral("6,5"),
                  QStringLiteral("0"), QStringLiteral("30 dias"), QString(), QString(), QStringLiteral("Loja A"),
                  QStringLiteral("Loja B"), QStringLiteral("Loja C")};
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        f[it.key()] = it.value();
    return f.join(QLatin1Char('|'));
}
