// The day at a glance read at start and after every working window, on the
// store of a supplier with five years of history: 20,000 released
// quotations (most sent, some never answered, a few due around now) and
// 5,000 orders (most attended). Beside it, in the same run, the floor of
// any count that must look at every released quotation: one raw pass over
// the three columns it reads. The stores are filled once, outside the
// timing; "without indexes" is the same store without the two indexes the
// counts are served by.
#include "app/day_summary.h"
#include "store/sqlcipher.h"
#include "support/test_store.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Quotations = 20000;
constexpr int Orders = 5000;
const QDateTime Now(QDate(2026, 12, 10), QTime(12, 0, 0));

struct Store : TestStore {
    Database &db = dm.Banco();

    explicit Store(bool indexes)
    {
        auto tx = db.transaction();
        Statement q(db,
            u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada) "
            "VALUES (?, ?, ?, ?, ?)"_s);
        for (int i = 0; i < Quotations; ++i) {
            // One every two hours or so, the newest due two days from now.
            const QDateTime due = Now.addSecs(qint64(Quotations - i) * -7884 + 2 * 86400);
            const bool recent = due > Now.addDays(-3);
            const QString status = recent ? (i % 3 == 0 ? u"Baixada"_s
                                           : i % 3 == 1 ? u"ABERTA"_s
                                                        : u"Enviar"_s)
                : i % 10 == 0             ? u"ABERTA"_s
                                          : u"Enviada"_s;
            q.bindAll({ u"2%1"_s.arg(i, 9, 10, QLatin1Char('0')), status, due.date(), due.time(),
                due.date().addDays(-5) });
            q.step();
            q.reset();
        }
        Statement o(
            db, u"INSERT INTO PedidosLiberados (Pedido, TipoStatus, DataLiberado) VALUES (?, ?, ?)"_s);
        for (int i = 0; i < Orders; ++i) {
            o.bindAll({ u"3%1"_s.arg(i, 9, 10, QLatin1Char('0')),
                i >= Orders - 20 ? u"Baixado"_s : u"Atendido"_s, Now.date().addDays(-(Orders - i) / 3) });
            o.step();
            o.reset();
        }
        tx.commit();
        if (!indexes) {
            db.execute(u"DROP INDEX CotaLiberadas_Unsent"_s);
            db.execute(u"DROP INDEX PedidosLiberados_TipoStatus"_s);
        }
    }
};

Store &store(bool indexes)
{
    static std::unique_ptr<Store> with, without;
    std::unique_ptr<Store> &s = indexes ? with : without;
    if (!s)
        s = std::make_unique<Store>(indexes);
    return *s;
}

void countDayOn(benchmark::State &state, bool indexes)
{
    Database &db = store(indexes).db;
    DayCounts counts;
    for (auto _ : state) {
        counts = countDay(db, Now);
        benchmark::DoNotOptimize(counts);
    }
    state.counters["due"] = double(counts.dueSoon.total);
    state.counters["overdue"] = double(counts.overdue.total);
    state.counters["orders"] = double(counts.ordersToAttend);
}

void BM_CountDay(benchmark::State &state)
{
    countDayOn(state, true);
}

void BM_CountDayWithoutIndexes(benchmark::State &state)
{
    countDayOn(state, false);
}

// One pass over every released quotation's status and deadline, raw.
void BM_RawFloorOnePassOverTheReleasedList(benchmark::State &state)
{
    sqlite3 *db = store(true).db.handle();
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT TipoStatus, DataValidade, AteHora FROM CotaLiberadas", -1, &stmt, nullptr);
    qint64 rows = 0;
    for (auto _ : state) {
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
            ++rows;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    if (rows != Quotations)
        state.SkipWithError("the pass did not read every quotation");
}

} // namespace

BENCHMARK(BM_CountDay)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.2);
BENCHMARK(BM_CountDayWithoutIndexes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.2);
BENCHMARK(BM_RawFloorOnePassOverTheReleasedList)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinWarmUpTime(0.2);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    store(true); // filled before any timing
    store(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
