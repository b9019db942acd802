// The spreadsheet price exchange at ten thousand items: the export of the
// items shown to an .xlsx file and the import of that file back into them
// (read, check every row, apply all in one transaction); and the reading
// alone beside its floor, the same sheet unpacked and walked by the XML
// tokenizer with nothing done per element. The store, the quotation and the
// file to import are set up outside the timing.
#include "bench_support.h"
#include "raw_limit.h"

#include "quotations/spreadsheet_exchange.h"
#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/zip_archive.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int ItemCount = 10000;
const QString Cotacao = u"4711"_s;

// A store holding one downloaded quotation of ten thousand items, half of
// them priced, shown as the price-entry window shows them.
struct QuotationStore : TestStore {

    QuotationStore()
    {
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
        dm.showQuotationItems(Cotacao);
    }
};

void BM_ExportTenThousandItems(benchmark::State &state)
{
    QuotationStore store;
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    prompts.defaultFile = store.folder.file(u"Cotacao4711.xlsx"_s);
    SpreadsheetExchange exchange(prompts, store.dm);
    for (auto _ : state) {
        if (!exchange.exportItems()) {
            state.SkipWithError(prompts.lastBox().toStdString().c_str());
            break;
        }
    }
    state.counters["items"] = ItemCount;
    state.counters["bytes"] = double(QFile(prompts.defaultFile).size());
}

// Two files whose prices differ in every priced item, imported in turn, so
// that every import changes every price.
void BM_ImportTenThousandItems(benchmark::State &state)
{
    QuotationStore store;
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    SpreadsheetExchange exchange(prompts, store.dm);
    const QString files[]
        = { store.folder.file(u"Cotacao4711.xlsx"_s), store.folder.file(u"Cotacao4711b.xlsx"_s) };
    prompts.defaultFile = files[1];
    bool exported = exchange.exportItems();
    Statement raise(store.dm.Banco(), u"UPDATE CotacaoFornc SET VALOR = VALOR + 1"_s);
    store.dm.Banco().executeTracked(raise);
    store.dm.CotaFornec().reload();
    prompts.defaultFile = files[0];
    exported = exported && exchange.exportItems();
    if (!exported) {
        state.SkipWithError("the exports to import failed");
        return;
    }
    int next = 1;
    for (auto _ : state) {
        prompts.defaultFile = files[next];
        if (!exchange.importItems() || prompts.lastBox() != u"[Atenção] Processo Finalizado..."_s) {
            state.SkipWithError(prompts.lastBox().toStdString().c_str());
            break;
        }
        next = 1 - next;
    }
    state.counters["items"] = ItemCount;
}

// The file the export writes of the store's quotation; empty if it failed.
QString exportedFile(QuotationStore &store)
{
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    prompts.defaultFile = store.folder.file(u"Cotacao4711.xlsx"_s);
    SpreadsheetExchange exchange(prompts, store.dm);
    return exchange.exportItems() ? prompts.defaultFile : QString();
}

// What the import reads and checks of the file, without the store.
void BM_ReadTenThousandPriceRows(benchmark::State &state)
{
    QuotationStore store;
    const QString path = exportedFile(store);
    if (path.isEmpty()) {
        state.SkipWithError("the export failed");
        return;
    }
    for (auto _ : state) {
        WorksheetReader sheet(path);
        const QList<SpreadsheetExchange::PriceRow> rows = SpreadsheetExchange::priceRows(sheet);
        if (rows.size() != ItemCount) {
            state.SkipWithError("not every row was read");
            break;
        }
    }
    state.counters["items"] = ItemCount;
}

// The floor under the reading: the parts it reads most of, the sheet and
// its shared strings, unpacked and tokenized.
void BM_UnpackAndTokenizeTheSheet(benchmark::State &state)
{
    QuotationStore store;
    const QString path = exportedFile(store);
    if (path.isEmpty()) {
        state.SkipWithError("the export failed");
        return;
    }
    qint64 tokens = 0;
    for (auto _ : state) {
        ZipArchive zip(path, XlsxLimits {});
        tokens = 0;
        for (const QString &part : { u"xl/worksheets/sheet1.xml"_s, u"xl/sharedStrings.xml"_s }) {
            QXmlStreamReader xml(zip.read(part));
            while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::Invalid)
                ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["tokens"] = double(tokens);
}

} // namespace

BENCHMARK(raw_limit::BM_RawLimitInsertTenThousandItems)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_ExportTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_ImportTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_ReadTenThousandPriceRows)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_UnpackAndTokenizeTheSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
