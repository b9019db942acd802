#include "store/price_list_store.h"

#include "common/part_code.h"
#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

namespace {

// A store whose file could not take the tables when it was opened (read
// only, a full disk) simply has no list.
bool hasPriceList(Database &db)
{
    Statement st(db, u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'TabelaPrecoArquivo'"_s);
    return st.step();
}

} // namespace

QStringList priceListStatements()
{
    return {
        u"CREATE TABLE IF NOT EXISTS \"TabelaPreco\" (\"LINHA\" INTEGER NOT NULL, \"MARCA\" TEXT NOT NULL, "
        "\"PRODFABR\" TEXT NOT NULL, \"DESCRICAO\" TEXT, \"UN\" TEXT, \"VALOR\" FLOAT NOT NULL, "
        "\"CHAVEMARCA\" TEXT NOT NULL, \"CHAVEEXATA\" TEXT NOT NULL, \"CHAVECODIGO\" TEXT NOT NULL)"_s,
        // The loose key first: an exact match is one of the loose ones.
        u"CREATE INDEX IF NOT EXISTS \"TabelaPreco_Chave\" ON \"TabelaPreco\" (\"CHAVEMARCA\", "
        "\"CHAVECODIGO\")"_s,
        u"CREATE TABLE IF NOT EXISTS \"TabelaPrecoArquivo\" (\"ARQUIVO\" TEXT NOT NULL, \"IMPORTADA\" TEXT "
        u"NOT "
        "NULL, \"ITENS\" INTEGER NOT NULL)"_s,
    };
}

void replacePriceList(Database &db, const PriceListSource &source, const QList<PriceListEntry> &entries)
{
    Transaction tx(db);
    for (const QString &statement : priceListStatements())
        db.execute(statement);
    db.execute(u"DELETE FROM TabelaPreco"_s);
    db.execute(u"DELETE FROM TabelaPrecoArquivo"_s);
    Statement insert(db,
        u"INSERT INTO TabelaPreco (LINHA, MARCA, PRODFABR, DESCRICAO, UN, VALOR, CHAVEMARCA, CHAVEEXATA, "
        "CHAVECODIGO) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"_s);
    for (const PriceListEntry &e : entries) {
        insert.bindAll(
            { e.linha, e.marca, e.prodfabr, e.descricao.isEmpty() ? QVariant() : QVariant(e.descricao),
                e.un.isEmpty() ? QVariant() : QVariant(e.un), e.valor, brandKey(e.marca),
                exactCodeKey(e.prodfabr), looseCodeKey(e.prodfabr) });
        insert.step();
        insert.reset();
    }
    Statement file(db, u"INSERT INTO TabelaPrecoArquivo (ARQUIVO, IMPORTADA, ITENS) VALUES (?1, ?2, ?3)"_s);
    file.bindAll({ source.arquivo, source.importada.toString(Qt::ISODate), int(entries.size()) });
    file.step();
    tx.commit();
}

bool clearPriceList(Database &db)
{
    if (!hasPriceList(db) || !priceListSource(db))
        return false;
    Transaction tx(db);
    db.execute(u"DELETE FROM TabelaPreco"_s);
    db.execute(u"DELETE FROM TabelaPrecoArquivo"_s);
    tx.commit();
    return true;
}

std::optional<PriceListSource> priceListSource(Database &db)
{
    if (!hasPriceList(db))
        return std::nullopt;
    Statement st(db, u"SELECT ARQUIVO, IMPORTADA, ITENS FROM TabelaPrecoArquivo"_s);
    if (!st.step())
        return std::nullopt;
    return PriceListSource { st.columnText(0), QDateTime::fromString(st.columnText(1), Qt::ISODate),
        int(st.columnInt(2)) };
}

void forEachPriceListEntry(Database &db, const std::function<void(const PriceListEntry &)> &visit)
{
    if (!hasPriceList(db))
        return;
    Statement st(
        db, u"SELECT LINHA, MARCA, PRODFABR, DESCRICAO, UN, VALOR FROM TabelaPreco ORDER BY LINHA"_s);
    while (st.step()) {
        visit({ int(st.columnInt(0)), st.columnText(1), st.columnText(2), st.columnText(3), st.columnText(4),
            st.columnDouble(5) });
    }
}
