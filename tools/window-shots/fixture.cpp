#include "fixture.h"

#include "config/credential_file.h"
#include "quotations/widgets/price_entry_window.h"
#include "store/data_module.h"
#include "store/price_list_store.h"
#include "store/released_writes.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/row_insert.h"
#include "ui/row_model.h"

#include <QDate>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTableView>

void writeFixtureFolder(const QString &folder, FixtureValues values)
{
    QFile server(QDir(folder).filePath(QStringLiteral("server.new")));
    if (server.open(QIODevice::WriteOnly))
        server.write("http://127.0.0.1:8090/kelvo\r\n");
    writeCredentials(folder,
        values == FixtureValues::Long ? QStringLiteral("DISTRIBUIDORA DE AUTOPEÇAS SÃO JOÃO BATISTA LTDA")
                                      : QStringLiteral("AUTOPECAS SILVA"),
        QStringLiteral("SEGREDO"));
    createDatabase(QDir(folder).filePath(QStringLiteral("CotaKelvo.new")));
}

namespace {

struct Item {
    const char *produto, *fabr, *descricao, *un, *marca, *aplicacao;
    double qtde, valor;
    double loja1, loja2, loja3;
    const char *similares = "";
    const char *obs = "";
};

struct Texts {
    QStringList lojas;
    QString condPgto;
    QString orderObs;
};

Texts texts(FixtureValues values)
{
    if (values == FixtureValues::Long)
        return { { QStringLiteral("LOJA JARDIM PAULISTA"), QStringLiteral("FILIAL SÃO BERNARDO"),
                     QStringLiteral("FILIAL VILA MARIANA") },
            QStringLiteral("28/56/84 DDL POR BOLETO BANCÁRIO, OU 3% DE DESCONTO À VISTA"),
            QStringLiteral("ENTREGAR NA MATRIZ ATÉ SEXTA-FEIRA ANTES DAS 17H, EM EMBALAGEM ORIGINAL LACRADA "
                           "E COM A NOTA FISCAL SEPARADA POR LOJA; NA FALTA DE ALGUM ITEM, INFORMAR O "
                           "SIMILAR DISPONÍVEL E O PRAZO DE REPOSIÇÃO") };
    return { { QStringLiteral("MATRIZ"), QStringLiteral("FILIAL 1"), QStringLiteral("FILIAL 2") },
        QStringLiteral("28 DDL"), QStringLiteral("ENTREGAR NA MATRIZ ATÉ SEXTA") };
}

using Values = QList<std::pair<QString, QVariant>>;

// The columns quotation and order items share.
Values itemValues(const Item &i, const Texts &x)
{
    Values v { { QStringLiteral("PRODUTO"), QString::fromUtf8(i.produto) },
        { QStringLiteral("PRODFABR"), QString::fromUtf8(i.fabr) },
        { QStringLiteral("DESCRICAO"), QString::fromUtf8(i.descricao) },
        { QStringLiteral("UN"), QString::fromUtf8(i.un) },
        { QStringLiteral("MARCA"), QString::fromUtf8(i.marca) },
        { QStringLiteral("APLICACAO"), QString::fromUtf8(i.aplicacao) }, { QStringLiteral("QTDE"), i.qtde },
        { QStringLiteral("QTDELOJA1"), i.loja1 }, { QStringLiteral("QTDELOJA2"), i.loja2 },
        { QStringLiteral("QTDELOJA3"), i.loja3 }, { QStringLiteral("NOMELOJA1"), x.lojas.value(0) },
        { QStringLiteral("NOMELOJA2"), x.lojas.value(1) }, { QStringLiteral("NOMELOJA3"), x.lojas.value(2) },
        { QStringLiteral("CONDPGTO"), x.condPgto },
        { QStringLiteral("SIMILARES"), QString::fromUtf8(i.similares) },
        { QStringLiteral("OBS"), QString::fromUtf8(i.obs) } };
    if (i.valor != 0)
        v.append({ QStringLiteral("VALOR"), i.valor });
    return v;
}

void addQuotation(TDm &dm, const QString &cota, const QString &status, const QDate &validade,
    const QList<Item> &items, const Texts &x)
{
    Database &db = dm.Banco();
    const qint64 cab = addReleasedQuotation(db, cota, status, validade, QTime(17, 30), validade.addDays(-5));
    db.announceRowsWritten(cotaLiberadasSchema().name, { cab });
    for (const Item &i : items) {
        insertRow(db, cotacaoForncSchema(),
            Values { { QStringLiteral("CONTATO"), QStringLiteral("JOAO COMPRAS") },
                { QStringLiteral("COTACAO"), cota }, { QStringLiteral("DATA"), validade.addDays(-5) } }
                + itemValues(i, x));
    }
}

void addOrder(TDm &dm, const QString &pedido, const QString &status, const QDate &liberado,
    const QList<Item> &items, const Texts &x)
{
    Database &db = dm.Banco();
    Values cab { { QStringLiteral("Pedido"), pedido }, { QStringLiteral("TipoStatus"), status },
        { QStringLiteral("DataLiberado"), liberado }, { QStringLiteral("HoraLib"), QTime(9, 30) } };
    if (!items.isEmpty()) {
        cab.append({ QStringLiteral("DataBaixado"), liberado.addDays(1) });
        cab.append({ QStringLiteral("HoraBaixa"), QTime(10, 12, 40) });
    }
    insertRow(db, pedidosLiberadosSchema(), cab);

    const double prices[] = { 89.9, 14.5, 132.4, 35.5 };
    int k = 0;
    for (const Item &i : items) {
        Values v = Values { { QStringLiteral("CONTATO"), QStringLiteral("MARCOS") },
            { QStringLiteral("PEDIDO"), pedido }, { QStringLiteral("DATA"), liberado } }
            + itemValues(i, x);
        if (i.valor == 0)
            v.append({ QStringLiteral("VALOR"), prices[k % 4] }); // every ordered item has its price
        ++k;
        // The order's own observation in place of the item's.
        v.removeIf([](const auto &c) { return c.first == QStringLiteral("OBS"); });
        v.append({ QStringLiteral("OBS"), x.orderObs });
        insertRow(db, pedidoForncSchema(), v);
    }
    db.announceWritten({ pedidosLiberadosSchema().name, pedidoForncSchema().name });
}

const QList<Item> &ordinaryItems()
{
    static const QList<Item> items = {
        { "100231", "BB1234", "PASTILHA DE FREIO DIANTEIRA", "JG", "BOSCH", "GOL 1.0 2008/2012\rFOX 1.6", 6,
            89.9, 2, 2, 2 },
        { "100232", "F 000 99", "VELA DE IGNIÇÃO", "PC", "NGK", "PALIO 1.0 FIRE", 24, 0, 8, 8, 8 },
        { "100245", "GP31234", "AMORTECEDOR TRASEIRO", "PC", "COFAP", "CELTA 2006/2015", 4, 0, 2, 2, 0 },
        { "100250", "6204-2RS", "ROLAMENTO DA RODA TRASEIRA", "PC", "SKF", "UNO MILLE", 10, 35.5, 4, 4, 2 },
    };
    return items;
}

// Every text as long as its column keeps it.
const QList<Item> &longItems()
{
    static const QList<Item> items = {
        { "000100231000001", "OC 1234/KIT 000-0001",
            "ÓLEO LUBRIFICANTE SEMISSINTÉTICO 15W40 API SN FRASCO 1 LITRO", "FR", "ÓLEO LUBRAX SUPERA",
            "GOL G3/G4/G5 1.0 8V 16V TOTAL FLEX 2000/2014\rPARATI 1.6 1.8 AP 1996/2012\rSAVEIRO G4 G5 "
            "1.6 2005/2016\rVOYAGE 1.6 2009/2018\rFOX CROSSFOX SPACEFOX 1.6 8V 2004/2020\rPOLO 1.6 2003/20",
            1250.5, 12345.67, 500.25, 450.25, 300, "LUBRAX ESSENCIAL 15W",
            "ENTREGAR NA MATRIZ ATÉ SEXTA-FEIRA ANTES DAS 17H, EM EMBALAGEM ORIGINAL LACRADA E COM A NOTA "
            "FISCAL SEPARADA POR LOJA; NA FALTA DE ALGUM ITEM, INFORMAR O SIMILAR DISPONÍVEL E O PRAZO DE "
            "REPOSIÇÃO" },
        { "000100232000002", "KIT-EMBR-VW-GOL-G5-1",
            "KIT EMBREAGEM COMPLETO COM ROLAMENTO E ATUADOR HIDRÁULICO", "JG", "SACHS ZF DO BRASIL",
            "GOL G5 1.0 1.6 TOTAL FLEX 2009/2016\rVOYAGE 1.0 1.6 2009/2018", 48, 1899.9, 16, 16, 16,
            "LUK 620 3133 00 OU V", "SÓ ACEITAMOS A MARCA INDICADA OU O SIMILAR ORIGINAL DE MONTADORA" },
        { "000100245000003", "N 1016 ESQ/DIR PAR 2",
            "TERMINAL DE DIREÇÃO ESQUERDO E DIREITO PAR COM PORCA E PINO", "PR", "NAKATA AUTOMOTIVA SA",
            "CELTA 2000/2015 PRISMA 1.4 2006/2012", 10, 0, 4, 4, 2 },
        { "000100250000004", "6204-2RS1/C3 SKF BR", "ROLAMENTO DA RODA TRASEIRA COM ANEL ABS ÍMÃ INTEGRADO",
            "PC", "SKF DO BRASIL LTDA", "UNO MILLE FIRE ECONOMY 1.0 2004/2013", 1000, 35.5, 400, 400, 200 },
    };
    return items;
}

// The supplier's list holds every item: the first as the buyer writes its
// code, the second written another way, the third in another unit.
void addPriceList(TDm &dm, const QList<Item> &items, FixtureValues values)
{
    QList<PriceListEntry> entries;
    int row = 2;
    for (const Item &i : items) {
        PriceListEntry e { row, QString::fromUtf8(i.marca), QString::fromUtf8(i.fabr),
            QString::fromUtf8(i.descricao), QString::fromUtf8(i.un), 40.0 + 11.25 * row };
        if (row == 3)
            e.prodfabr = e.prodfabr.remove(QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char('.'));
        if (row == 4)
            e.un = QStringLiteral("CX");
        entries.append(e);
        ++row;
    }
    const QString file = values == FixtureValues::Long
        ? QStringLiteral("TABELA DE PREÇOS AUTOPEÇAS SÃO JOÃO BATISTA - JUNHO 2026 - REVISÃO FINAL.xlsx")
        : QStringLiteral("tabela-junho.xlsx");
    replacePriceList(dm.Banco(), { file, QDateTime::currentDateTime(), int(entries.size()) }, entries);
}

} // namespace

QString fixtureNumber(const char *digits, FixtureValues values)
{
    // The longest number a column keeps, or the buyer's usual ten digits.
    const QString number = QLatin1String(digits);
    return values == FixtureValues::Long ? number + QStringLiteral("/MATRIZ") : number;
}

void fillFixtureStore(TDm &dm, FixtureValues values)
{
    const QDate today = QDate::currentDate();
    const QList<Item> &items = values == FixtureValues::Long ? longItems() : ordinaryItems();
    const Texts x = texts(values);
    const auto number = [values](const char *digits) { return fixtureNumber(digits, values); };
    addQuotation(dm, number("2026000101"), QStringLiteral("ABERTA"), today.addDays(3), {}, x);
    addQuotation(dm, number("2026000102"), QStringLiteral("Baixada"), today.addDays(2), items, x);
    addQuotation(dm, number("2026000103"), QStringLiteral("Enviar"), today.addDays(1), items.mid(0, 2), x);
    addQuotation(dm, number("2026000098"), QStringLiteral("Enviada"), today.addDays(-2), items.mid(1, 2), x);
    addOrder(dm, number("2026000201"), QStringLiteral("Baixado"), today.addDays(-1), items, x);
    addOrder(dm, number("2026000202"), QStringLiteral("Liberado"), today, {}, x);
    addOrder(dm, number("2026000199"), QStringLiteral("Atendido"), today.addDays(-6), items.mid(0, 2), x);
    // Earlier answers for the first item, for its price history.
    const double earlier[] = { 79.5, 84.0, 82.9, 91.3, 88.0 };
    for (int k = 0; k < 5; ++k) {
        Item first = items.first();
        first.valor = values == FixtureValues::Long ? earlier[k] * 140 : earlier[k];
        addQuotation(dm, number("2026000090").replace(QStringLiteral("0090"), QStringLiteral("009%1").arg(k)),
            QStringLiteral("Enviada"), today.addDays(-70 + 13 * k), { first }, x);
    }
    addPriceList(dm, items, values);
}

void prepareFixtureWindow(const QString &windowClass, QDialog *window, FixtureValues values)
{
    if (auto *prices = qobject_cast<TPrecoCota *>(window);
        prices && windowClass == QLatin1String("TPrecoCota")) {
        // Shown first, since showing empties the grid; then the downloaded quotation is chosen.
        prices->show();
        const QString cota = fixtureNumber("2026000102", values);
        prices->setChooserRunner(
            [cota](ReleasedQuotationSet &baixadas) { return locateCotacao(baixadas, cota); });
        prices->btn3Click();
        // The longest texts are on the last item: its panel shows them whole.
        if (values == FixtureValues::Long && prices->model()->rowCount() > 0)
            prices->dbgrd1()->setCurrentIndex(prices->model()->index(prices->model()->rowCount() - 1, 5));
    }
}
