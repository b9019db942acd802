#include "fixture.h"

#include "config/credential_file.h"
#include "quotations/widgets/price_entry_window.h"
#include "store/data_module.h"
#include "store/schema.h"

#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>

void writeFixtureFolder(const QString &folder)
{
    QFile server(QDir(folder).filePath(QStringLiteral("server.new")));
    if (server.open(QIODevice::WriteOnly))
        server.write("http://127.0.0.1:8090/kelvo\r\n");
    writeCredentials(folder, QStringLiteral("AUTOPECAS SILVA"), QStringLiteral("SEGREDO"));
    createDatabase(QDir(folder).filePath(QStringLiteral("CotaKelvo.new")));
}

namespace {

struct Item {
    const char *produto, *fabr, *descricao, *un, *marca, *aplicacao;
    double qtde, valor;
    double loja1, loja2, loja3;
};

// The columns quotation and order items share, on the row in edit.
void setItem(Table &t, const Item &i)
{
    t.setText(QStringLiteral("PRODUTO"), QString::fromUtf8(i.produto));
    t.setText(QStringLiteral("PRODFABR"), QString::fromUtf8(i.fabr));
    t.setText(QStringLiteral("DESCRICAO"), QString::fromUtf8(i.descricao));
    t.setText(QStringLiteral("UN"), QString::fromUtf8(i.un));
    t.setText(QStringLiteral("MARCA"), QString::fromUtf8(i.marca));
    t.setText(QStringLiteral("APLICACAO"), QString::fromUtf8(i.aplicacao));
    t.setFloat(QStringLiteral("QTDE"), i.qtde);
    if (i.valor != 0)
        t.setFloat(QStringLiteral("VALOR"), i.valor);
    t.setFloat(QStringLiteral("QTDELOJA1"), i.loja1);
    t.setFloat(QStringLiteral("QTDELOJA2"), i.loja2);
    t.setFloat(QStringLiteral("QTDELOJA3"), i.loja3);
    t.setText(QStringLiteral("NOMELOJA1"), QStringLiteral("MATRIZ"));
    t.setText(QStringLiteral("NOMELOJA2"), QStringLiteral("FILIAL 1"));
    t.setText(QStringLiteral("NOMELOJA3"), QStringLiteral("FILIAL 2"));
    t.setText(QStringLiteral("CONDPGTO"), QStringLiteral("28 DDL"));
}

void addQuotation(
    TDm &dm, const QString &cota, const QString &status, const QDate &validade, const QList<Item> &items)
{
    Table &cab = dm.CotaLiberada();
    if (!cab.isOpen())
        cab.open();
    (void)cab.append();
    cab.setText(QStringLiteral("Cotacao"), cota);
    cab.setText(QStringLiteral("TipoStatus"), status);
    cab.setDate(QStringLiteral("DataValidade"), validade);
    cab.setTime(QStringLiteral("AteHora"), QTime(17, 30));
    cab.setDate(QStringLiteral("DataLiberada"), validade.addDays(-5));
    cab.post();

    Table &t = dm.CotaFornec();
    if (!t.isOpen())
        t.open();
    const bool was = dm.podeIcota();
    dm.setPodeIcota(true);
    for (const Item &i : items) {
        if (!t.append())
            break;
        t.setText(QStringLiteral("CONTATO"), QStringLiteral("JOAO COMPRAS"));
        t.setText(QStringLiteral("COTACAO"), cota);
        t.setDate(QStringLiteral("DATA"), validade.addDays(-5));
        setItem(t, i);
        t.post();
    }
    dm.setPodeIcota(was);
}

void addOrder(
    TDm &dm, const QString &pedido, const QString &status, const QDate &liberado, const QList<Item> &items)
{
    Table &cab = dm.PedidosLiberados();
    if (!cab.isOpen())
        cab.open();
    (void)cab.append();
    cab.setText(QStringLiteral("Pedido"), pedido);
    cab.setText(QStringLiteral("TipoStatus"), status);
    cab.setDate(QStringLiteral("DataLiberado"), liberado);
    cab.setTime(QStringLiteral("HoraLib"), QTime(9, 30));
    if (!items.isEmpty()) {
        cab.setDate(QStringLiteral("DataBaixado"), liberado.addDays(1));
        cab.setTime(QStringLiteral("HoraBaixa"), QTime(10, 12, 40));
    }
    cab.post();

    Table &t = dm.PedFornec();
    if (!t.isOpen())
        t.open();
    const double prices[] = { 89.9, 14.5, 132.4, 35.5 };
    int k = 0;
    for (const Item &i : items) {
        (void)t.append();
        t.setText(QStringLiteral("CONTATO"), QStringLiteral("MARCOS"));
        t.setText(QStringLiteral("PEDIDO"), pedido);
        t.setDate(QStringLiteral("DATA"), liberado);
        setItem(t, i);
        t.setFloat(QStringLiteral("VALOR"), prices[k++ % 4]); // every ordered item has its price
        t.setText(QStringLiteral("CONDPGTO"), QStringLiteral("28/56 DDL"));
        t.setText(QStringLiteral("OBS"), QStringLiteral("ENTREGAR NA MATRIZ ATÉ SEXTA"));
        t.post();
    }
}

} // namespace

void fillFixtureStore(TDm &dm)
{
    const QDate today = QDate::currentDate();
    const QList<Item> items = {
        { "100231", "BB1234", "PASTILHA DE FREIO DIANTEIRA", "JG", "BOSCH", "GOL 1.0 2008/2012\rFOX 1.6", 6,
            89.9, 2, 2, 2 },
        { "100232", "F 000 99", "VELA DE IGNIÇÃO", "PC", "NGK", "PALIO 1.0 FIRE", 24, 0, 8, 8, 8 },
        { "100245", "GP31234", "AMORTECEDOR TRASEIRO", "PC", "COFAP", "CELTA 2006/2015", 4, 0, 2, 2, 0 },
        { "100250", "6204-2RS", "ROLAMENTO DA RODA TRASEIRA", "PC", "SKF", "UNO MILLE", 10, 35.5, 4, 4, 2 },
    };
    addQuotation(dm, QStringLiteral("2026000101"), QStringLiteral("ABERTA"), today.addDays(3), {});
    addQuotation(dm, QStringLiteral("2026000102"), QStringLiteral("Baixada"), today.addDays(2), items);
    addQuotation(
        dm, QStringLiteral("2026000103"), QStringLiteral("Enviar"), today.addDays(1), items.mid(0, 2));
    addQuotation(
        dm, QStringLiteral("2026000098"), QStringLiteral("Enviada"), today.addDays(-2), items.mid(1, 2));
    addOrder(dm, QStringLiteral("2026000201"), QStringLiteral("Baixado"), today.addDays(-1), items);
    addOrder(dm, QStringLiteral("2026000202"), QStringLiteral("Liberado"), today, {});
    addOrder(
        dm, QStringLiteral("2026000199"), QStringLiteral("Atendido"), today.addDays(-6), items.mid(0, 2));
}

void prepareFixtureWindow(const QString &windowClass, QDialog *window)
{
    if (auto *prices = qobject_cast<TPrecoCota *>(window);
        prices && windowClass == QLatin1String("TPrecoCota")) {
        // Shown first, since showing empties the grid; then the downloaded quotation is chosen.
        prices->show();
        prices->setChooserRunner([](Query &baixadas) {
            return baixadas.locate(QStringLiteral("Cotacao"), { QStringLiteral("2026000102") });
        });
        prices->btn3Click();
    }
}
