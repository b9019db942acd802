// The quotation road at ten thousand items against kelvo-buyer-sim on
// loopback: the download of the items into the store, the price-entry window
// opened on them, and the submission of the priced quotation (verification,
// form, POST, status). A submission gets a fresh copy of the simulator's
// state each time, since a quotation can be answered only once.
#include "exchange/connectivity.h"
#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "quotations/released_quotations.h"
#include "quotations/widgets/price_entry_window.h"
#include "store/dataset_model.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "ui/silent_prompts.h"

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
const QString SimProgram = QStringLiteral(KELVO_BIN_DIR "/kelvo-buyer-sim");
const QString User = u"DEMO"_s;
const QString Password = u"DEMO123"_s;

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

// Confirms every question; a log window is only filled, never shown.
class BenchPrompts final : public Prompts {
public:
    void message(const QString &caption, const QString &text, PromptIcon) override { problem = caption + u": "_s + text; }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &text) override { problem = text; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::unique_ptr<LogWindow> createLog() override { return SilentPrompts().createLog(); }
    void previewReport(const PreparedReport &) override {}

    QString problem;
};

// kelvo-buyer-sim on a free loopback port over a given state file.
class Sim final {
public:
    explicit Sim(const QString &statePath)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(SimProgram, {u"--port"_s, u"0"_s, u"--state"_s, statePath});
        static const QRegularExpression listening(u"^listening on (http://\\S+)$"_s);
        while (m_url.isEmpty() && (m_process.canReadLine() || m_process.waitForReadyRead(30000))) {
            const QRegularExpressionMatch m = listening.match(QString::fromUtf8(m_process.readLine()).trimmed());
            if (m.hasMatch())
                m_url = m.captured(1);
        }
    }
    ~Sim()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    Q_DISABLE_COPY_MOVE(Sim)
    const QString &url() const { return m_url; }

private:
    QProcess m_process;
    QString m_url;
};

// A state file with one generated quotation of ItemCount items, made once.
struct Generated {
    QTemporaryDir dir;
    QString statePath;
    QString cotacao;

    Generated()
    {
        statePath = dir.filePath(u"generated.json"_s);
        QProcess gen;
        gen.start(SimProgram, {u"--state"_s, statePath, u"--generate"_s, QString::number(ItemCount)});
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

// A store of its own in a temporary folder.
struct Store {
    QTemporaryDir folder;
    TDm dm;

    Store()
    {
        const QString path = folder.filePath(u"CotaKelvo.new"_s);
        createDatabase(path);
        dm.openStore(path);
    }
};

// The list fetched, the generated quotation selected: what "Baixar" starts from.
bool fetchList(ReleasedQuotations &flow, TDm &dm, const QString &cotacao)
{
    return flow.openTables() && flow.fetchList() && dm.CotaLiberada().locate(u"Cotacao"_s, {cotacao});
}

// Made once for several benchmarks, released before the application ends.
struct Shared {
    std::unique_ptr<Sim> sim;
    std::unique_ptr<Store> downloaded;
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
        auto store = std::make_unique<Store>();
        BenchPrompts prompts;
        OnlineNet net;
        HttpClient http;
        ReleasedQuotations flow(prompts, store->dm, net, http, downloadSim().url());
        flow.setLogin({User, Password});
        if (fetchList(flow, store->dm, generated().cotacao) && flow.downloadItems())
            shared.downloaded = std::move(store);
    }
    return shared.downloaded ? &shared.downloaded->dm : nullptr;
}

void exec(TDm &dm, const QString &statement)
{
    dm.Fsql().close();
    dm.Fsql().setSql({statement});
    dm.Fsql().execSql();
}

void BM_DownloadTenThousandItems(benchmark::State &state)
{
    if (generated().cotacao.isEmpty() || downloadSim().url().isEmpty()) {
        state.SkipWithError("kelvo-buyer-sim did not start with a generated quotation");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Store store;
        BenchPrompts prompts;
        OnlineNet net;
        HttpClient http;
        ReleasedQuotations flow(prompts, store.dm, net, http, downloadSim().url());
        flow.setLogin({User, Password});
        const bool listed = fetchList(flow, store.dm, generated().cotacao);
        state.ResumeTiming();

        const bool stored = listed && flow.downloadItems();

        state.PauseTiming();
        const std::string why = (u"download failed: "_s + prompts.problem).toStdString();
        if (!stored || store.dm.CotaFornec().rowCount() != ItemCount) {
            state.SkipWithError(why.c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

// From the window's creation to its grid showing the chosen quotation's items.
void BM_OpenPriceEntryOnTenThousandItems(benchmark::State &state)
{
    TDm *dm = downloadedStore();
    if (!dm) {
        state.SkipWithError("the download for the price entry failed");
        return;
    }
    for (auto _ : state) {
        BenchPrompts prompts;
        auto window = std::make_unique<TPrecoCota>(prompts, *dm);
        window->setChooserRunner(
            [](Query &baixadas) { return baixadas.locate(u"Cotacao"_s, {generated().cotacao}); });
        window->show();
        window->btn3Click();
        const int rows = window->dbgrd1()->model()->rowCount();

        state.PauseTiming();
        window->close();
        window.reset();
        if (rows != ItemCount) {
            state.SkipWithError("the price entry does not show the items");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

void BM_SubmitTenThousandItems(benchmark::State &state)
{
    const Generated &g = generated();
    TDm *downloaded = downloadedStore();
    if (!downloaded) {
        state.SkipWithError("the download for the submission failed");
        return;
    }
    TDm &dm = *downloaded;
    // Two items in three priced, as a supplier leaves a quotation.
    exec(dm, u"update CotacaoFornc set VALOR = 10.25 + (rowid % 97), OBS = 'entrega imediata' "
             u"where rowid % 3 <> 2"_s);

    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Sim sim(g.freshCopy(++run));
        BenchPrompts prompts;
        OnlineNet net;
        HttpClient http;
        QuotationSubmission submission(prompts, dm, net, http, sim.url());
        submission.setLogin({User, Password});
        exec(dm, u"update CotaLiberadas set TipoStatus = 'Enviar' where Cotacao = '%1'"_s.arg(g.cotacao));
        submission.listReady();
        if (!submission.select(g.cotacao)) {
            state.SkipWithError("the quotation is not listed");
            break;
        }
        state.ResumeTiming();

        const SubmissionResult result = submission.sendSelected();

        state.PauseTiming();
        submission.closeList();
        if (result != SubmissionResult::Sent) {
            const std::string why = (u"not sent: "_s + prompts.problem).toStdString();
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
