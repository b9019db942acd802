// The spreadsheet price exchange at ten thousand items: the export of the
// items shown to an .xlsx file and the import of that file back into them
// (read, check every row, apply all in one transaction). The store, the
// quotation and the file to import are set up outside the timing.
#include "quotations/spreadsheet_exchange.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "ui/silent_prompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int ItemCount = 10000;
const QString Cotacao = u"4711"_s;

// Answers every file dialog with one path and keeps the last message shown.
class BenchPrompts final : public Prompts {
public:
    void message(const QString &caption, const QString &text, PromptIcon) override
    {
        shown = caption + u": "_s + text;
    }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &text) override { shown = text; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return path; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return path; }
    std::unique_ptr<LogWindow> createLog() override { return SilentPrompts().createLog(); }
    void previewReport(const PreparedReport &) override {}

    QString path;
    QString shown;
};

// A store holding one downloaded quotation of ten thousand items, half of
// them priced, shown as the price-entry window shows them.
struct QuotationStore {
    QTemporaryDir dir;
    TDm dm;

    QuotationStore()
    {
        const QString path = dir.filePath(u"CotaKelvo.new"_s);
        createDatabase(path);
        dm.openStore(path);
        Transaction tx(dm.Banco());
        Statement insert(dm.Banco(),
            u"INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, DESCRICAO, UN, MARCA, "
            "QTDE, VALOR, SIMILARES) VALUES ('COMPRAS', ?, '2020-06-26', ?, ?, ?, 'PC', ?, ?, ?, ?)"_s);
        for (int i = 0; i < ItemCount; ++i) {
            insert.bindAll({ Cotacao, u"P%1"_s.arg(i, 6, 10, QChar(u'0')), u"FAB-%1"_s.arg(i),
                u"PASTILHA DE FREIO DIANTEIRA %1"_s.arg(i), u"MARCA%1"_s.arg((i * 7919) % 97), 4.5 + i % 3,
                i % 2 ? QVariant(12.5 + i) : QVariant(), i % 5 ? QVariant() : QVariant(u"SIM-%1"_s.arg(i)) });
            insert.step();
            insert.reset();
        }
        tx.commit();
        Table &items = dm.CotaFornec();
        items.setFilter(u"COTACAO = ?"_s, { Cotacao });
        items.setFiltered(true);
        items.open();
    }
};

void BM_ExportTenThousandItems(benchmark::State &state)
{
    QuotationStore store;
    BenchPrompts prompts;
    prompts.path = store.dir.filePath(u"Cotacao4711.xlsx"_s);
    SpreadsheetExchange exchange(prompts, store.dm);
    for (auto _ : state) {
        if (!exchange.exportItems())
            state.SkipWithError(prompts.shown.toStdString().c_str());
    }
    state.counters["items"] = ItemCount;
    state.counters["bytes"] = double(QFile(prompts.path).size());
}

void BM_ImportTenThousandItems(benchmark::State &state)
{
    QuotationStore store;
    BenchPrompts prompts;
    prompts.path = store.dir.filePath(u"Cotacao4711.xlsx"_s);
    SpreadsheetExchange exchange(prompts, store.dm);
    if (!exchange.exportItems())
        state.SkipWithError("the export to import failed");
    for (auto _ : state) {
        if (!exchange.importItems() || prompts.shown != u"Atenção: Processo Finalizado..."_s)
            state.SkipWithError(prompts.shown.toStdString().c_str());
    }
    state.counters["items"] = ItemCount;
}

} // namespace

BENCHMARK(BM_ExportTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_ImportTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
