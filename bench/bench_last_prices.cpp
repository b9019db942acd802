// The last prices of a quotation of 10,000 items in a store of 500
// quotations holding a million items (aim: under 0.5 s), and the last price
// of one item, as the price entry's panel asks it on every move. Each part
// is in about fifty quotations. The store is filled once, outside the timing.
#include "quotations/last_prices.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"
#include "support/test_store.h"

#include <QCoreApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Quotations = 500;
constexpr int TargetItems = 10'000;
constexpr int OtherItems = 1'984; // 499 of them: a million items with the target
constexpr int Parts = 20'000;
const QString Target = u"2026-ALVO"_s;

QString part(int p)
{
    return u"PF-%1"_s.arg(p, 5, 10, QLatin1Char('0'));
}

struct Store : TestStore {
    qint64 items = 0;

    Store()
    {
        Database &db = dm.Banco();
        auto tx = db.transaction();
        Statement item(db,
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, DESCRICAO, UN, "
            "MARCA, QTDE, VALOR) VALUES ('COMPRAS', ?, ?, ?, ?, ?, 'PC', ?, 2, ?)"_s);
        const auto add
            = [&](const QString &cotacao, const QDate &day, int i, int p, const QVariant &valor, bool lower) {
                  const QString prodfabr = lower ? part(p).toLower() : part(p);
                  item.bindAll({ cotacao, day, u"P%1"_s.arg(i), prodfabr, u"PEÇA %1"_s.arg(p),
                      u"MARCA %1"_s.arg(p % 60), valor });
                  item.step();
                  item.reset();
                  ++items;
              };
        for (int q = 0; q < Quotations - 1; ++q) {
            const QString cotacao = u"2025%1"_s.arg(q, 6, 10, QLatin1Char('0'));
            const QDate day = QDate(2025, 1, 1).addDays(q / 2);
            for (int i = 0; i < OtherItems; ++i) {
                const int p = (q * 7919 + i * 13) % Parts;
                // A quarter unpriced; every fifth quotation typed in lower case.
                add(cotacao, day, i, p, i % 4 == 3 ? QVariant() : QVariant(10.0 + p % 500), q % 5 == 0);
            }
        }
        for (int i = 0; i < TargetItems; ++i)
            add(Target, QDate(2026, 1, 10), i, i * 2, QVariant(), false);
        tx.commit();
    }
};

// Made in main(), released before the application ends.
std::unique_ptr<Store> filled;

void BM_LastPricesOfTenThousandItems(benchmark::State &state)
{
    Database &db = filled->dm.Banco();
    for (auto _ : state) {
        const QuotationLastPrices prices = lastPricesOf(db, Target);

        state.PauseTiming();
        const bool complete = prices.items == TargetItems && prices.found.size() > TargetItems * 9 / 10;
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("the quotation's items did not find their last prices");
            break;
        }
    }
    state.counters["store items"] = double(filled->items);
}

void BM_LastPriceOfOneItem(benchmark::State &state)
{
    Database &db = filled->dm.Banco();
    int p = 0;
    for (auto _ : state) {
        p = (p + 7) % Parts;
        LastPrices prices(db);
        benchmark::DoNotOptimize(prices.find(Target, u"MARCA %1"_s.arg(p % 60), part(p)));
    }
}

} // namespace

BENCHMARK(BM_LastPricesOfTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_LastPriceOfOneItem)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinWarmUpTime(0.2);

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
