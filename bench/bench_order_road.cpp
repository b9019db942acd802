// The order road at ten thousand items against kelvo-buyer-sim on loopback:
// the download of one order's items into the store ("Baixar"), and the window
// "Pedidos Baixados" opened on that order, its totals computed and painted.
#include "bench_support.h"
#include "exchange/connectivity.h"
#include "exchange/http_client.h"
#include "orders/released_orders.h"
#include "orders/widgets/downloaded_orders_window.h"
#include "store/data_module.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int ItemCount = 10000;

// kelvo-buyer-sim on a free loopback port, over a state file holding a
// generated order of ItemCount items; the downloads change nothing in it.
class Sim final {
public:
    Sim()
    {
        const QString state = m_dir.filePath(u"generated.json"_s);
        QProcess gen;
        gen.start(SimServer::program(), { u"--state"_s, state, u"--generate"_s, QString::number(ItemCount) });
        gen.waitForFinished(120000);
        static const QRegularExpression number(u"generated quotation \\S+ and order (\\S+)"_s);
        const QRegularExpressionMatch m = number.match(QString::fromUtf8(gen.readAllStandardOutput()));
        if (!m.hasMatch())
            return;
        m_pedido = m.captured(1);

        m_server = std::make_unique<SimServer>(state);
    }

    Q_DISABLE_COPY_MOVE(Sim)

    bool ready() const { return m_server && !m_server->url().isEmpty() && !m_pedido.isEmpty(); }
    const QString &url() const { return m_server->url(); }
    const QString &pedido() const { return m_pedido; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SimServer> m_server;
    QString m_pedido;
};

std::unique_ptr<Sim> sim;

// A store of its own with the list fetched and the generated order selected:
// what "Baixar" starts from.
struct ListedStore : TestStore {
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    FakeNet net;
    HttpClient http;
    std::unique_ptr<ReleasedOrders> flow;
    bool listed = false;

    ListedStore()
    {
        flow = std::make_unique<ReleasedOrders>(prompts, dm, net, http, sim->url());
        flow->setLogin({ u"DEMO"_s, u"DEMO123"_s });
        listed = flow->openTables() && flow->fetchList() && dm.gotoOrder(sim->pedido());
    }

    bool download()
    {
        return listed && flow->downloadItems()
            && storedRows(dm.Banco(), QStringLiteral("PedidoFornc")) == ItemCount;
    }
};

void BM_DownloadTenThousandItemOrder(benchmark::State &state)
{
    if (!sim->ready()) {
        state.SkipWithError("kelvo-buyer-sim did not start with a generated order");
        return;
    }
    {
        ListedStore warmUp;
        if (!warmUp.download()) {
            const std::string why = (u"download failed: "_s + warmUp.prompts.lastBox()).toStdString();
            state.SkipWithError(why.c_str());
            return;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<ListedStore>();
        state.ResumeTiming();

        const bool stored = store->download();

        state.PauseTiming();
        const std::string why = (u"download failed: "_s + store->prompts.lastBox()).toStdString();
        store.reset();
        if (!stored) {
            state.SkipWithError(why.c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

// From the window's creation to its first painting, the order's items listed
// and its totals written.
void BM_OpenPedidosBaixadosOnTenThousandItems(benchmark::State &state)
{
    if (!sim->ready()) {
        state.SkipWithError("kelvo-buyer-sim did not start with a generated order");
        return;
    }
    ListedStore store;
    if (!store.download()) {
        state.SkipWithError("the download for the window failed");
        return;
    }
    const auto open = [&store] {
        ScriptedPrompts prompts; // the window is shown, not used
        auto window = std::make_unique<TPedidosBaixados>(prompts, store.dm);
        window->show();
        QApplication::processEvents();
        window->repaint();
        const bool shown
            = window->dbgrd2()->model()->rowCount() == ItemCount && !window->lbTotPed()->text().isEmpty();
        return std::make_pair(std::move(window), shown);
    };
    open(); // warm-up: fonts, styles, the first statement
    for (auto _ : state) {
        auto [window, shown] = open();

        state.PauseTiming();
        window->close();
        window.reset();
        if (!shown) {
            state.SkipWithError("the window does not show the order's items and totals");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

} // namespace

BENCHMARK(BM_DownloadTenThousandItemOrder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenPedidosBaixadosOnTenThousandItems)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    sim = std::make_unique<Sim>();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sim.reset();
    return 0;
}
