// The list prices of a quotation of 10,000 items against a price list of
// 200,000 parts (aim: under 0.5 s), a third of the items written another
// way than the list writes them; beside it the raw limit of the same
// machine: as many look-ups of one indexed column by a plain prepared
// statement. The store is filled once, outside the timing.
#include "store/data_module.h"
#include "store/price_list_store.h"
#include "store/schema.h"
#include "store/sqlcipher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int ListParts = 200'000;
constexpr int Items = 10'000;

QString brand(int p)
{
    return u"MARCA %1"_s.arg(p % 80);
}

QString code(int p)
{
    return u"0986B%1"_s.arg(p, 6, 10, QLatin1Char('0'));
}

// How a buyer may write the same code.
QString written(int p)
{
    const QString c = code(p);
    switch (p % 3) {
    case 1:
        return c.left(4) + u' ' + c.mid(4, 3) + u' ' + c.mid(7);
    case 2:
        return c.left(4).toLower() + u'.' + c.mid(4, 3).toLower() + u'-' + c.mid(7);
    }
    return c;
}

struct Store {
    QTemporaryDir folder;
    TDm dm;

    Store()
    {
        const QString path = folder.filePath(u"CotaKelvo.new"_s);
        createDatabase(path);
        dm.openStore(path);
        QList<PriceListEntry> entries;
        entries.reserve(ListParts);
        for (int p = 0; p < ListParts; ++p)
            entries.append({ p + 2, brand(p), code(p), u"PEÇA %1"_s.arg(p), u"PC"_s, 10.0 + p % 500 });
        replacePriceList(dm.Banco(), { u"tabela.xlsx"_s, QDateTime::currentDateTime(), ListParts }, entries);
    }
};

std::unique_ptr<Store> filled;

int part(int i)
{
    return (i * 19) % ListParts;
}

void BM_ListPricesOfTenThousandItems(benchmark::State &state)
{
    for (auto _ : state) {
        PriceListLookup lookup(filled->dm.Banco());
        int found = 0;
        for (int i = 0; i < Items; ++i) {
            const int p = part(i);
            if (lookup.find(brand(p), written(p)))
                ++found;
        }
        if (found != Items) {
            state.SkipWithError("not every item found its list price");
            break;
        }
    }
}

// The raw limit: one indexed column, no keys computed, nothing compared.
void BM_RawIndexedLookups(benchmark::State &state)
{
    for (auto _ : state) {
        Statement st(filled->dm.Banco(),
            u"SELECT VALOR FROM TabelaPreco WHERE CHAVEMARCA = ?1 AND CHAVECODIGO = ?2"_s);
        int found = 0;
        for (int i = 0; i < Items; ++i) {
            const int p = part(i);
            st.bindAll({ brand(p).toLower(), code(p).toLower() });
            if (st.step())
                ++found;
            st.reset();
        }
        if (found != Items) {
            state.SkipWithError("not every raw look-up found its row");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_ListPricesOfTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);
BENCHMARK(BM_RawIndexedLookups)->Unit(benchmark::kMillisecond)->UseRealTime()->MinWarmUpTime(0.5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    filled = std::make_unique<Store>(); // before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    filled.reset();
    return 0;
}
