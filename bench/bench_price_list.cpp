// The list prices of a quotation of 10,000 items against a price list of
// 200,000 parts (aim: under 0.5 s), a third of the items written another
// way than the list writes them; beside it the raw limits of the same
// machine: as many look-ups of one indexed column by a plain prepared
// statement, and the insert of the quotation's 10,000 rows. The whole fill
// of "Preços da tabela" (look-ups and writes, in one transaction) is timed
// too. The store is filled once, outside the timing.
#include "bench_support.h"
#include "quotations/price_entry.h"
#include "raw_limit.h"
#include "store/data_module.h"
#include "store/price_list_store.h"
#include "store/sqlcipher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int ListParts = 200'000;
constexpr int Items = 10'000;

QString brand(int p)
{
    return u"MARCA %1"_s.arg(p % 80);
}

QString code(int p)
{
    return u"0986B%1"_s.arg(p, 6, 10, QLatin1Char('0'));
}

// How a buyer may write the same code.
QString written(int p)
{
    const QString c = code(p);
    switch (p % 3) {
    case 1:
        return c.left(4) + u' ' + c.mid(4, 3) + u' ' + c.mid(7);
    case 2:
        return c.left(4).toLower() + u'.' + c.mid(4, 3).toLower() + u'-' + c.mid(7);
    }
    return c;
}

int part(int i);

struct Store : TestStore {

    Store()
    {
        QList<PriceListEntry> entries;
        entries.reserve(ListParts);
        for (int p = 0; p < ListParts; ++p)
            entries.append({ p + 2, brand(p), code(p), u"PEÇA %1"_s.arg(p), u"PC"_s, 10.0 + p % 500 });
        replacePriceList(dm.Banco(), { u"tabela.xlsx"_s, QDateTime::currentDateTime(), ListParts }, entries);
        addQuotation();
    }

    // The quotation QLISTA: its items name the parts as a buyer writes them.
    void addQuotation()
    {
        Database &db = dm.Banco();
        db.execute(u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus) VALUES ('QLISTA', 'Baixada')"_s);
        Transaction tx(db);
        Statement insert(db,
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, PRODFABR, UN, QTDE) "
            "VALUES ('COMPRAS', 'QLISTA', '2026-06-01', ?1, ?2, ?3, 'PC', 1)"_s);
        for (int i = 0; i < Items; ++i) {
            const int p = part(i);
            insert.bindAll({ u"P%1"_s.arg(i, 6, 10, QLatin1Char('0')), brand(p), written(p) });
            insert.step();
            insert.reset();
        }
        tx.commit();
    }
};

int part(int i)
{
    return (i * 19) % ListParts;
}

std::unique_ptr<Store> filled;

void BM_ListPricesOfTenThousandItems(benchmark::State &state)
{
    for (auto _ : state) {
        PriceListLookup lookup(filled->dm.Banco());
        int found = 0;
        for (int i = 0; i < Items; ++i) {
            const int p = part(i);
            if (lookup.find(brand(p), written(p)))
                ++found;
        }
        if (found != Items) {
            state.SkipWithError("not every item found its list price");
            break;
        }
    }
}

// The raw limit: one indexed column, no keys computed, nothing compared.
void BM_RawIndexedLookups(benchmark::State &state)
{
    for (auto _ : state) {
        Statement st(filled->dm.Banco(),
            u"SELECT VALOR FROM TabelaPreco WHERE CHAVEMARCA = ?1 AND CHAVECODIGO = ?2"_s);
        int found = 0;
        for (int i = 0; i < Items; ++i) {
            const int p = part(i);
            st.bindAll({ brand(p).toLower(), code(p).toLower() });
            if (st.step())
                ++found;
            st.reset();
        }
        if (found != Items) {
            state.SkipWithError("not every raw look-up found its row");
            break;
        }
    }
}

// "Preços da tabela" on the 10,000 items: every look-up and every write,
// with the question answered Yes. The prices are emptied again between
// runs, outside the timing.
void BM_FillTenThousandItemsFromTheList(benchmark::State &state)
{
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    PriceEntry flow(prompts, filled->dm);
    flow.start();
    if (!flow.chooseQuotation(
            [](ReleasedQuotationSet &baixadas) { return locateCotacao(baixadas, u"QLISTA"_s); })) {
        state.SkipWithError("the quotation could not be chosen");
        return;
    }
    Database &db = filled->dm.Banco();
    for (auto _ : state) {
        if (!flow.fillPrices(PriceSource::PriceList)) {
            state.SkipWithError(prompts.lastBox().toUtf8().constData());
            break;
        }
        state.PauseTiming();
        Statement priced(db, u"SELECT count(*) FROM CotacaoFornc WHERE COTACAO = 'QLISTA' AND VALOR > 0"_s);
        if (!priced.step() || priced.columnInt(0) != Items) {
            state.SkipWithError("not every item took its list price");
            break;
        }
        db.execute(u"UPDATE CotacaoFornc SET VALOR = NULL WHERE COTACAO = 'QLISTA'"_s);
        db.announceWritten({ u"CotacaoFornc"_s });
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Items);
}

} // namespace

BENCHMARK(BM_FillTenThousandItemsFromTheList)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinWarmUpTime(0.5);
BENCHMARK(raw_limit::BM_RawLimitInsertTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListPricesOfTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_RawIndexedLookups)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    filled = std::make_unique<Store>(); // before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    filled.reset();
    return 0;
}
