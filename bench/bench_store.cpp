// The store under a quotation of ten thousand items, through the program's
// own code: "Baixar" storing the buyer's answer (new items, and the same
// items again with changed values, which updates every row), and the price
// entry showing the chosen quotation's items and storing one item's price. The answer is already
// received: the network is bench_quotation_road's part.
#include "bench_support.h"
#include "raw_limit.h"
#include "support/row_insert.h"

#include "quotations/price_entry.h"
#include "quotations/released_quotations.h"
#include "store/data_module.h"
#include "store/sqlcipher.h"

#include <QCoreApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

constexpr int kItems = 10000;
const QString kCotacao = u"Q1"_s;

// The answer of the items script for the quotation; the two versions differ
// in every item's description, quantity and application.
QString itemsAnswer(int version)
{
    QString answer;
    for (int i = 0; i < kItems; ++i) {
        QStringList f;
        f << u" COMPRAS "_s << kCotacao << u"26/06/2020"_s << u"P%1"_s.arg(i, 6, 10, QChar(u'0'))
          << u"FAB-%1"_s.arg(i) << u"PASTILHA DE FREIO DIANTEIRA %1 V%2"_s.arg(i).arg(version) << u"PC"_s
          << u"GOL 1.0 / PALIO 1.%1"_s.arg(version) << u"MARCA%1"_s.arg((i * 7919) % 97)
          << u"%1,5"_s.arg(12 + version) << QString() << u"A"_s << u"ABERTA"_s << u"Q1;Q2"_s
          << u"L1-%1"_s.arg(i) << u"L2-%1"_s.arg(i) << u"L3-%1"_s.arg(i) << u"4"_s << u"4,5"_s << u"4"_s
          << u"28 DDL"_s << QString() << QString() << u"CENTRO"_s << u"BAIRRO"_s << u"SHOPPING"_s;
        answer += f.join(u'|') + u"\r\n"_s;
    }
    return answer + u"BAIXADA COM SUCESSO"_s;
}

const QString &answer(int version)
{
    static const QString answers[] = { itemsAnswer(0), itemsAnswer(1) };
    return answers[version];
}

// A store of its own with the quotation released, and the workflow of
// "Cotações Liberadas" on it, the quotation selected.
struct Download : TestStore {
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    FakeNet net;
    ScriptedTransport http;
    ReleasedQuotations flow { prompts, dm, net, http, u"http://127.0.0.1:1"_s };

    Download()
    {
        exec(u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus) VALUES (?, 'ABERTA')"_s, { kCotacao });
        flow.setLogin({ u"DEMO"_s, u"DEMO123"_s });
        select();
    }

    // "Baixar" again on the same quotation: the buyer released it anew.
    void reopen()
    {
        execAnnounced(
            dm.Banco(), u"UPDATE CotaLiberadas SET TipoStatus = 'ABERTA'"_s, {}, { u"CotaLiberadas"_s });
        select();
    }

    void select()
    {
        if (!flow.openTables() || !locateCotacao(dm.CotaLiberada(), kCotacao))
            throw std::runtime_error("the released quotation is not there");
    }

    // What the supplier's "Baixar" does with the answer.
    bool run(int version)
    {
        http.answers = { answer(version) };
        return flow.downloadItems();
    }

    bool stored()
    {
        Statement count(dm.Banco(), u"SELECT count(*) FROM CotacaoFornc"_s);
        return count.step() && count.columnInt(0) == kItems
            && prompts.lastBox().endsWith(u"BAIXADA COM SUCESSO"_s);
    }

    QString firstDescricao()
    {
        Statement first(dm.Banco(), u"SELECT DESCRICAO FROM CotacaoFornc ORDER BY rowid LIMIT 1"_s);
        return first.step() ? first.columnText(0) : QString();
    }
};

void BM_DownloadNewItems(benchmark::State &state)
{
    answer(0);
    Download().run(0); // warm-up
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Download>();
        state.ResumeTiming();

        const bool ok = d->run(0);

        state.PauseTiming();
        if (!ok || !d->stored()) {
            state.SkipWithError(("download failed: " + d->prompts.lastBox().toStdString()).c_str());
            break;
        }
        d.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_DownloadAgainUpdatesEveryItem(benchmark::State &state)
{
    Download d;
    d.run(0);
    d.reopen();
    d.run(1); // warm-up
    int version = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.reopen();
        state.ResumeTiming();

        const bool ok = d.run(version);

        state.PauseTiming();
        const QString descricao = d.firstDescricao();
        if (!ok || !d.stored() || !descricao.endsWith(u" V%1"_s.arg(version))) {
            state.SkipWithError(("download failed: " + d.prompts.lastBox().toStdString()).c_str());
            break;
        }
        version = 1 - version;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}

bool chooseQ1(ReleasedQuotationSet &baixadas)
{
    return locateCotacao(baixadas, kCotacao);
}

// The quotation downloaded and chosen in the price entry.
struct ChosenInPriceEntry {
    Download d;
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    PriceEntry entry { prompts, d.dm };

    ChosenInPriceEntry()
    {
        d.run(0);
        entry.start();
        entry.chooseQuotation(chooseQ1);
    }
};

// "Cotações Baixadas" in the price entry, the quotation chosen: its items
// read into the grid's table.
void BM_PriceEntryShowsTheChosenQuotation(benchmark::State &state)
{
    ChosenInPriceEntry shown; // and a warm-up
    for (auto _ : state) {
        const bool chosen = shown.entry.chooseQuotation(chooseQ1);

        state.PauseTiming();
        if (!chosen || shown.d.dm.CotaFornec().rowCount() != kItems) {
            state.SkipWithError("the chosen quotation's items are not shown");
            break;
        }
        state.ResumeTiming();
    }
}

// One price typed for one item while the price entry shows ten thousand: the
// grid is to show the stored row without reading the quotation again.
void BM_PriceOfOneItemAmongTenThousand(benchmark::State &state)
{
    ChosenInPriceEntry shown;
    int i = 0;
    for (auto _ : state) {
        const QString produto = u"P%1"_s.arg((i * 7919) % kItems, 6, 10, QChar(u'0'));
        const QString valor = u"%1,25"_s.arg(i % 1000);
        ++i;
        if (!shown.entry.setPrice(produto, valor, std::nullopt)
            || shown.d.dm.CotaFornec().current()->produto != produto) {
            state.SkipWithError("the price was not stored on the item");
            break;
        }
    }
}

} // namespace

BENCHMARK(raw_limit::BM_RawLimitInsertTenThousandItems)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_DownloadNewItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DownloadAgainUpdatesEveryItem)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_PriceEntryShowsTheChosenQuotation)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_PriceOfOneItemAmongTenThousand)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(200);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
