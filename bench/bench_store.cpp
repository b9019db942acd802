// The store's two hot paths: an item download of ten thousand lines (look-up,
// add or edit, set the columns, post, all in one transaction) and opening the
// price-entry filter on ten thousand items.
#include "store/data_module.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kItems = 10000;

// One item line as the server sends it, already split.
QStringList itemLine(int i)
{
    QStringList f;
    f << u" COMPRAS "_s << u"Q1"_s << u"26/06/2020"_s << u"P%1"_s.arg(i, 6, 10, QChar(u'0'))
      << u"FAB-%1"_s.arg(i) << u"PASTILHA DE FREIO DIANTEIRA %1"_s.arg(i) << u"PC"_s
      << u"GOL 1.0\r\nPALIO 1.4"_s << u"MARCA%1"_s.arg((i * 7919) % 97) << u"12,5"_s << QString()
      << u"A"_s << u"ABERTA"_s << u"Q1;Q2"_s << u"L1-%1"_s.arg(i) << u"L2-%1"_s.arg(i) << u"L3-%1"_s.arg(i)
      << u"4"_s << u"4,5"_s << u"4"_s << u"28 DDL"_s << QString() << QString() << u"CENTRO"_s
      << u"BAIRRO"_s << u"SHOPPING"_s;
    return f;
}

const char16_t *const kColumns[] = {
    u"PRODUTO", u"PRODFABR", u"DESCRICAO", u"UN", u"APLICACAO", u"MARCA", u"QTDE", nullptr,
    u"STATUS", u"TIPOSTATUS", u"COTACAOAGRUPADAS", u"COTACAOLOJA1", u"COTACAOLOJA2", u"COTACAOLOJA3",
    u"QTDELOJA1", u"QTDELOJA2", u"QTDELOJA3", u"CONDPGTO", u"SIMILARES", u"OBS", u"NOMELOJA1",
    u"NOMELOJA2", u"NOMELOJA3",
};

void download(TDm &dm, const QList<QStringList> &lines)
{
    Table &t = dm.CotaFornec();
    const QStringList key{u"CONTATO"_s, u"COTACAO"_s, u"DATA"_s, u"PRODUTO"_s};
    Transaction tx(dm.Banco());
    for (const QStringList &f : lines) {
        const QString contato = f[0].trimmed();
        if (t.locate(key, {contato, f[1], f[2], f[3]})) {
            t.edit();
        } else {
            if (!t.append())
                throw StoreError(u"refused"_s);
            t.setText(u"CONTATO"_s, contato);
            t.setText(u"COTACAO"_s, f[1]);
            t.setText(u"DATA"_s, f[2]);
        }
        for (int p = 3; p <= 25; ++p) {
            if (const char16_t *column = kColumns[p - 3])
                t.setText(QString::fromUtf16(column), p == 7 ? QString(f[p]).replace(u'\r', u' ') : f[p]);
        }
        t.post();
    }
    tx.commit();
}

struct Store {
    QTemporaryDir dir;
    std::unique_ptr<TDm> dm = std::make_unique<TDm>();

    Store()
    {
        const QString path = dir.filePath(u"CotaKelvo.new"_s);
        createDatabase(path);
        dm->openStore(path);
        dm->setPodeIcota(true);
    }
};

QList<QStringList> allLines()
{
    QList<QStringList> lines;
    for (int i = 0; i < kItems; ++i)
        lines << itemLine(i);
    return lines;
}

void BM_DownloadNewItems(benchmark::State &state)
{
    const QList<QStringList> lines = allLines();
    for (auto _ : state) {
        state.PauseTiming();
        Store store;
        store.dm->CotaFornec().open();
        state.ResumeTiming();
        download(*store.dm, lines);
        state.PauseTiming();
        if (store.dm->CotaFornec().rowCount() != kItems)
            state.SkipWithError("rows missing");
        store.dm.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_DownloadAgainUpdatesInPlace(benchmark::State &state)
{
    const QList<QStringList> lines = allLines();
    Store store;
    store.dm->CotaFornec().open();
    download(*store.dm, lines);
    for (auto _ : state)
        download(*store.dm, lines);
    if (store.dm->CotaFornec().rowCount() != kItems)
        state.SkipWithError("rows duplicated");
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_OpenPriceEntryFilter(benchmark::State &state)
{
    Store store;
    Table &t = store.dm->CotaFornec();
    t.open();
    download(*store.dm, allLines());
    t.close();
    t.setFilter(u"COTACAO = ?"_s, {u"Q1"_s});
    t.setFiltered(true);
    for (auto _ : state) {
        t.open();
        benchmark::DoNotOptimize(t.rowCount());
        state.PauseTiming();
        if (t.rowCount() != kItems)
            state.SkipWithError("filter lost rows");
        t.close();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_DownloadNewItems)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DownloadAgainUpdatesInPlace)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenPriceEntryFilter)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
