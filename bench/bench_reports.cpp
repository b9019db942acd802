// The order printout at ten thousand lines: preparing it and writing it as a
// PDF file (aim: under 1 s), and from the print command to the first page
// painted in the preview (aim: under 0.25 s; the preview lays the rest out
// afterwards). The store is filled once,
// outside the timing; each benchmark runs once untimed first to warm up.
#include "orders/order_report.h"
#include "report/report_pdf.h"
#include "report/widgets/report_preview.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"
#include "support/test_store.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int LineCount = 10000;
const QString Pedido = u"2026000777"_s;

std::unique_ptr<TestStore> shared;

TDm &orderStore()
{
    if (shared)
        return shared->dm;
    shared = std::make_unique<TestStore>();
    TDm &dm = shared->dm;
    const QStringList brands { u"BOSCH"_s, u"COFAP"_s, u"MAHLE"_s, u"NGK"_s, u"SKF"_s, u"VALEO"_s };
    auto tx = dm.Banco().transaction();
    Statement st(dm.Banco(),
        u"INSERT INTO PedidoFornc (CONTATO, PEDIDO, DATA, PRODUTO, PRODFABR, SIMILARES, "
        "DESCRICAO, UN, MARCA, QTDE, VALOR, QTDELOJA1, QTDELOJA2, QTDELOJA3, NOMELOJA1, "
        "NOMELOJA2, NOMELOJA3) VALUES ('COMPRAS', ?, '2026-06-26', ?, ?, ?, ?, 'PC', ?, ?, ?, "
        "?, ?, ?, 'Loja Centro', 'Loja Norte', 'Loja Sul')"_s);
    for (int i = 0; i < LineCount; ++i) {
        st.reset();
        st.bindAll({ Pedido, u"P%1"_s.arg(i, 6, 10, QChar(u'0')), u"FAB-%1"_s.arg(i * 7 % 100000),
            i % 3 ? u"SIM-%1"_s.arg(i) : QString(),
            i % 11 ? u"Peça de reposição número %1"_s.arg(i)
                   : u"Jogo de juntas do motor completo com retentores e anéis de vedação %1"_s.arg(i),
            brands[i % brands.size()], 1.0 + i % 7, 2.5 + (i % 97) * 1.25, 1.0 + i % 3,
            i % 2 ? QVariant(2.0) : QVariant(), 0.5 });
        st.step();
    }
    tx.commit();
    return dm;
}

void BM_PrepareAndWriteOrderPdf(benchmark::State &state)
{
    TDm &dm = orderStore();
    QTemporaryDir out;
    const QString path = out.filePath(u"pedido.pdf"_s);
    writeReportPdf(prepareOrderReport(dm, Pedido), path); // warm-up
    int pages = 0;
    for (auto _ : state) {
        auto report = std::make_unique<PreparedReport>(prepareOrderReport(dm, Pedido));
        writeReportPdf(*report, path);

        state.PauseTiming();
        pages = int(report->pages.size());
        report.reset(); // the pages are released outside the timing
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
}

// The parts of the above: reading the lines, and laying all pages out.
void BM_ReadOrderLines(benchmark::State &state)
{
    TDm &dm = orderStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(orderPrintLines(dm.Banco(), Pedido));
}

void BM_PrepareOrderReport(benchmark::State &state)
{
    TDm &dm = orderStore();
    const std::vector<ItemPrintLine> lines = orderPrintLines(dm.Banco(), Pedido);
    for (auto _ : state) {
        auto report = std::make_unique<PreparedReport>(orderReport(Pedido, lines).take());
        state.PauseTiming();
        report.reset();
        state.ResumeTiming();
    }
}

// From the print command to the preview showing its first page painted.
// The preview is closed and the prepared pages released outside the timing.
void BM_PreviewFirstPage(benchmark::State &state)
{
    TDm &dm = orderStore();
    struct Shown {
        std::optional<ReportPreparation> report;
        std::unique_ptr<ReportPreview> preview;
    };
    const auto showFirstPage = [&] {
        auto shown = std::make_unique<Shown>();
        shown->report = orderReport(dm, Pedido); // as the button starts it
        shown->preview = std::make_unique<ReportPreview>(*shown->report, PreviewServices {});
        shown->preview->show();
        QApplication::processEvents();
        shown->preview->pageView()->repaint(); // painted now, not at the next event
        return shown;
    };
    showFirstPage(); // warm-up
    int pages = 0;
    for (auto _ : state) {
        auto shown = showFirstPage();

        state.PauseTiming();
        pages = shown->preview->pageCount();
        shown.reset();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}

} // namespace

BENCHMARK(BM_PrepareAndWriteOrderPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReadOrderLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PrepareOrderReport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shared.reset();
    return 0;
}
