// The window "Cotações Respondidas e Enviadas" over 200 quotations of 500
// items each: opening it until it has painted (aim: under 300 ms), and
// moving the selection to another quotation until the items, the total and
// the window have been painted again (aim: under 100 ms). The store is
// filled once, outside the timing.
#include "quotations/widgets/sent_quotations_window.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <QApplication>
#include <QLabel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Quotations = 200;
constexpr int ItemsEach = 500;

struct Store : TestStore {

    Store()
    {
        Database &db = dm.Banco();
        auto tx = db.transaction();
        const QStringList statuses { u"Baixada"_s, u"Enviar"_s, u"Enviada"_s };
        Statement released(
            db, u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataLiberada) VALUES (?, ?, ?)"_s);
        Statement item(db,
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, DESCRICAO, UN, "
            "MARCA, QTDE, VALOR, SIMILARES) VALUES ('COMPRAS', ?, ?, ?, ?, ?, 'PC', ?, ?, ?, ?)"_s);
        for (int q = 0; q < Quotations; ++q) {
            const QString cotacao = u"2026%1"_s.arg(q, 6, 10, QLatin1Char('0'));
            const QDate day = QDate(2026, 1, 1).addDays(q / 3);
            released.bindAll({ cotacao, statuses[q % 3], day });
            released.step();
            released.reset();
            for (int i = 0; i < ItemsEach; ++i) {
                const QVariant valor = i % 4 == 3 ? QVariant() : QVariant(10.25 + i % 97);
                item.bindAll({ cotacao, day, u"P%1"_s.arg(i, 5, 10, QLatin1Char('0')), u"F-%1"_s.arg(i),
                    u"PEÇA DE REPOSIÇÃO NÚMERO %1"_s.arg(i), u"MARCA %1"_s.arg(i % 40), 1.0 + i % 12, valor,
                    i % 5 == 0 ? QVariant(u"SIM %1"_s.arg(i)) : QVariant() });
                item.step();
                item.reset();
            }
        }
        tx.commit();
    }
};

// Made in main(), released before the application ends.
std::unique_ptr<Store> filled;

Store &store()
{
    return *filled;
}

std::unique_ptr<TCotasRespEnv> openWindow(Prompts &prompts)
{
    auto window = std::make_unique<TCotasRespEnv>(prompts, store().dm);
    window->show();
    window->repaint(); // painted now, not at the next event
    return window;
}

void BM_OpenSentQuotations(benchmark::State &state)
{
    ScriptedPrompts prompts; // the window is shown, not used
    for (auto _ : state) {
        auto window = openWindow(prompts);

        state.PauseTiming();
        const bool shown = window->dbgrd1()->model()->rowCount() == Quotations
            && window->dbgrd2()->model()->rowCount() == ItemsEach;
        window->close();
        window.reset();
        if (!shown) {
            state.SkipWithError("the window does not show the quotations and the items of the first");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = Quotations * ItemsEach;
}

void BM_MoveToAnotherSentQuotation(benchmark::State &state)
{
    ScriptedPrompts prompts; // the window is shown, not used
    auto window = openWindow(prompts);
    QTableView *left = window->dbgrd1();
    int row = 0;
    for (auto _ : state) {
        row = (row + 37) % Quotations;
        left->setCurrentIndex(left->model()->index(row, 0));
        window->repaint();

        state.PauseTiming();
        const bool followed = store().dm.ConsCotaCab().currentRow() == row
            && window->dbgrd2()->model()->rowCount() == ItemsEach;
        if (!followed) {
            state.SkipWithError("the items do not follow the selection");
            break;
        }
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_OpenSentQuotations)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_MoveToAnotherSentQuotation)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    filled = std::make_unique<Store>(); // before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    filled.reset();
    return 0;
}
