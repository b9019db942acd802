// The quotation road at ten thousand items against kelvo-buyer-sim on
// loopback: the download of the items into the store, the price-entry window
// opened on them, and the submission of the priced quotation (verification,
// form, POST, status). A submission gets a fresh copy of the simulator's
// state each time, since a quotation can be answered only once.
#include "bench_support.h"
#include "support/row_insert.h"

#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "quotations/released_quotations.h"
#include "quotations/widgets/price_entry_window.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int ItemCount = 10000;
const QString User = u"DEMO"_s;
const QString Password = u"DEMO123"_s;

// kelvo-buyer-sim on a free loopback port over a given state file.
using Sim = SimServer;

// A state file with one generated quotation of ItemCount items, made once.
struct Generated {
    QTemporaryDir dir;
    QString statePath;
    QString cotacao;

    Generated()
    {
        statePath = dir.filePath(u"generated.json"_s);
        QProcess gen;
        gen.start(
            SimServer::program(), { u"--state"_s, statePath, u"--generate"_s, QString::number(ItemCount) });
        gen.waitForFinished(120000);
        static const QRegularExpression number(u"generated quotation (\\S+)"_s);
        const QRegularExpressionMatch m = number.match(QString::fromUtf8(gen.readAllStandardOutput()));
        if (!m.hasMatch())
            return;
        cotacao = m.captured(1);
    }

    // A fresh copy, on which the quotation has not been answered yet.
    QString freshCopy(int run) const
    {
        const QString path = dir.filePath(u"run%1.json"_s.arg(run));
        QFile::remove(path);
        QFile::copy(statePath, path);
        return path;
    }
};

const Generated &generated()
{
    static const Generated g;
    return g;
}

// The list fetched, the generated quotation selected: what "Baixar" starts from.
bool fetchList(ReleasedQuotations &flow, TDm &dm, const QString &cotacao)
{
    return flow.openTables() && flow.fetchList() && locateCotacao(dm.CotaLiberada(), cotacao);
}

// Made once for several benchmarks, released before the application ends.
struct Shared {
    std::unique_ptr<Sim> sim;
    std::unique_ptr<TestStore> downloaded;
    bool downloadTried = false;
};
Shared shared;

// A simulator that answers downloads; they change nothing in its state.
Sim &downloadSim()
{
    if (!shared.sim)
        shared.sim = std::make_unique<Sim>(generated().freshCopy(0));
    return *shared.sim;
}

// A store with the generated quotation downloaded: "Baixada", no prices.
TDm *downloadedStore()
{
    if (!shared.downloadTried) {
        shared.downloadTried = true;
        auto store = std::make_unique<TestStore>();
        ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
        FakeNet net;
        HttpClient http;
        ReleasedQuotations flow(prompts, store->dm, net, http, downloadSim().url());
        flow.setLogin({ User, Password });
        if (fetchList(flow, store->dm, generated().cotacao) && flow.downloadItems())
            shared.downloaded = std::move(store);
    }
    return shared.downloaded ? &shared.downloaded->dm : nullptr;
}

void exec(TDm &dm, const QString &statement, const QString &table)
{
    execAnnounced(dm.Banco(), statement, {}, { table });
}

// One "Baixar" of the generated quotation into a store of its own, with the
// list already fetched.
struct DownloadRun {
    TestStore store;
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    FakeNet net;
    HttpClient http;
    ReleasedQuotations flow { prompts, store.dm, net, http, downloadSim().url() };
    bool listed = false;

    DownloadRun()
    {
        flow.setLogin({ User, Password });
        listed = fetchList(flow, store.dm, generated().cotacao);
    }
    bool run() { return listed && flow.downloadItems(); }
    bool stored() { return storedRows(store.dm.Banco(), u"CotacaoFornc"_s) == ItemCount; }
};

void BM_DownloadTenThousandItems(benchmark::State &state)
{
    if (generated().cotacao.isEmpty() || downloadSim().url().isEmpty()) {
        state.SkipWithError("kelvo-buyer-sim did not start with a generated quotation");
        return;
    }
    DownloadRun().run(); // warm-up
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<DownloadRun>();
        state.ResumeTiming();

        const bool ok = d->run();

        state.PauseTiming();
        if (!ok || !d->stored()) {
            state.SkipWithError(("download failed: " + d->prompts.lastBox().toStdString()).c_str());
            break;
        }
        d.reset(); // the store's folder goes outside the timing
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

// Counts the paint events of a widget.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// From the window's creation to its grid painted with the chosen
// quotation's items.
void BM_OpenPriceEntryOnTenThousandItems(benchmark::State &state)
{
    TDm *dm = downloadedStore();
    if (!dm) {
        state.SkipWithError("the download for the price entry failed");
        return;
    }
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    PaintCounter counter;
    const auto open = [&] {
        auto window = std::make_unique<TPrecoCota>(prompts, *dm);
        window->setChooserRunner(
            [](ReleasedQuotationSet &baixadas) { return locateCotacao(baixadas, generated().cotacao); });
        window->dbgrd1()->viewport()->installEventFilter(&counter);
        window->show();
        window->btn3Click();
        QApplication::processEvents(); // the platform exposes the window
        window->dbgrd1()->viewport()->repaint(); // painted now, not at the next event
        return window;
    };
    open()->close(); // warm-up
    for (auto _ : state) {
        counter.paints = 0;
        auto window = open();

        state.PauseTiming();
        const int rows = window->dbgrd1()->model()->rowCount();
        window->close();
        window.reset();
        if (rows != ItemCount || counter.paints == 0) {
            state.SkipWithError("the price entry does not show the items");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

// One "Envia-las Agora?" of the priced quotation to a simulator whose state
// has not seen it answered yet.
struct SubmitRun {
    Sim sim;
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    FakeNet net;
    HttpClient http;
    QuotationSubmission submission;
    bool listed = false;

    SubmitRun(TDm &dm, int run)
        : sim(generated().freshCopy(run))
        , submission(prompts, dm, net, http, sim.url())
    {
        submission.setLogin({ User, Password });
        exec(dm,
            u"update CotaLiberadas set TipoStatus = 'Enviar' where Cotacao = '%1'"_s.arg(generated().cotacao),
            u"CotaLiberadas"_s);
        submission.listReady();
        listed = submission.select(generated().cotacao);
    }
    ~SubmitRun() { submission.closeList(); }
    Q_DISABLE_COPY_MOVE(SubmitRun)

    bool run() { return listed && submission.sendSelected() == SubmissionResult::Sent; }
};

void BM_SubmitTenThousandItems(benchmark::State &state)
{
    TDm *downloaded = downloadedStore();
    if (!downloaded) {
        state.SkipWithError("the download for the submission failed");
        return;
    }
    TDm &dm = *downloaded;
    // Two items in three priced, as a supplier leaves a quotation.
    exec(dm,
        u"update CotacaoFornc set VALOR = 10.25 + (rowid % 97), OBS = 'entrega imediata' "
        u"where rowid % 3 <> 2"_s,
        u"CotacaoFornc"_s);

    int run = 0;
    SubmitRun(dm, ++run).run(); // warm-up
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<SubmitRun>(dm, ++run);
        state.ResumeTiming();

        const bool sent = s->run();

        state.PauseTiming();
        const std::string why = ("not sent: " + s->prompts.lastBox().toStdString());
        s.reset(); // the simulator stops outside the timing
        if (!sent) {
            state.SkipWithError(why.c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

} // namespace

BENCHMARK(BM_DownloadTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenPriceEntryOnTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_SubmitTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared = {};
    return 0;
}
