#pragma once

// The floor under every store benchmark: the rows of a ten-thousand-item
// quotation inserted into CotacaoFornc through one prepared statement in
// one transaction, on a store made as the program makes it (same key, same
// pragmas, same indexes). Values are ready in memory before the timing, so
// what is measured is the engine alone; the program's figures are read as
// ratios to this one, measured in the same run.
#include "store/schema.h"
#include "store/sqlcipher.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <array>
#include <vector>

namespace raw_limit {

inline constexpr int Rows = 10000;

// The 25 columns a downloaded item fills.
inline constexpr const char *InsertSql
    = "INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, "
      "DESCRICAO, UN, APLICACAO, MARCA, QTDE, STATUS, TIPOSTATUS, "
      "COTACAOAGRUPADAS, COTACAOLOJA1, COTACAOLOJA2, COTACAOLOJA3, QTDELOJA1, "
      "QTDELOJA2, QTDELOJA3, CONDPGTO, SIMILARES, OBS, NOMELOJA1, NOMELOJA2, "
      "NOMELOJA3) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
      "?, ?, ?, ?, ?, ?, ?)";

// One row: texts as UTF-8 (a null QByteArray is SQL NULL), numbers apart.
struct Row {
    std::array<QByteArray, 25> text;
    std::array<double, 4> number; // QTDE, QTDELOJA1..3
};

inline bool isNumber(int column)
{
    return column == 9 || (column >= 16 && column <= 18);
}

// The same values bench_store's buyer answer stores for its first version.
inline const std::vector<Row> &rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> r(Rows);
        for (int i = 0; i < Rows; ++i) {
            const QByteArray n = QByteArray::number(i);
            r[i].text = { "COMPRAS", "Q1", "2020-06-26",
                QByteArray("P") + QByteArray::number(i).rightJustified(6, '0'), "FAB-" + n,
                "PASTILHA DE FREIO DIANTEIRA " + n + " V0", "PC", "GOL 1.0 / PALIO 1.0",
                "MARCA" + QByteArray::number((i * 7919) % 97), {}, "A", "ABERTA", "Q1;Q2", "L1-" + n,
                "L2-" + n, "L3-" + n, {}, {}, {}, "28 DDL", {}, {}, "CENTRO", "BAIRRO", "SHOPPING" };
            r[i].number = { 12.5, 4, 4.5, 4 };
        }
        return r;
    }();
    return all;
}

inline void insertAll(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, InsertSql, -1, &stmt, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Row &row : rows()) {
        int number = 0;
        for (int c = 0; c < 25; ++c) {
            if (isNumber(c))
                sqlite3_bind_double(stmt, c + 1, row.number[number++]);
            else if (row.text[c].isNull())
                sqlite3_bind_null(stmt, c + 1);
            else
                sqlite3_bind_text(
                    stmt, c + 1, row.text[c].constData(), int(row.text[c].size()), SQLITE_STATIC);
        }
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(stmt);
}

// A fresh store per iteration, opened outside the timing.
inline void BM_RawLimitInsertTenThousandItems(benchmark::State &state)
{
    rows();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("CotaKelvo.new"));
        createDatabase(path);
        Database db;
        db.open(path, storeKey());
        state.ResumeTiming();

        insertAll(db.handle());

        state.PauseTiming();
        Statement count(db, QStringLiteral("SELECT count(*) FROM CotacaoFornc"));
        if (!count.step() || count.columnInt(0) != Rows) {
            state.SkipWithError("the raw insert did not store every row");
            break;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

} // namespace raw_limit
