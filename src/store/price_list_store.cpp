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

PriceListLookup::PriceListLookup(Database &db)
{
    if (hasPriceList(db))
        m_byKey = std::make_unique<Statement>(db,
            u"SELECT LINHA, MARCA, PRODFABR, DESCRICAO, UN, VALOR, CHAVEEXATA FROM TabelaPreco "
            "WHERE CHAVEMARCA = ?1 AND CHAVECODIGO = ?2 ORDER BY LINHA"_s);
}

PriceListLookup::~PriceListLookup() = default;

std::optional<PriceListMatch> PriceListLookup::find(const QString &marca, const QString &prodfabr)
{
    m_conflicting = false;
    const QString loose = looseCodeKey(prodfabr);
    if (!m_byKey || loose.isEmpty())
        return std::nullopt;
    const QString exact = exactCodeKey(prodfabr);
    m_byKey->bindAll({ brandKey(marca), loose });
    std::optional<PriceListMatch> found;
    bool agree = true;
    while (m_byKey->step()) {
        const PriceListEntry e { int(m_byKey->columnInt(0)), m_byKey->columnText(1), m_byKey->columnText(2),
            m_byKey->columnText(3), m_byKey->columnText(4), m_byKey->columnDouble(5) };
        if (m_byKey->columnText(6) == exact) {
            found = PriceListMatch { e, CodeMatch::Exact };
            break;
        }
        if (!found)
            found = PriceListMatch { e, CodeMatch::Loose };
        else if (found->entry.valor != e.valor || found->entry.un.toCaseFolded() != e.un.toCaseFolded())
            agree = false;
    }
    m_byKey->reset();
    if (found && found->match == CodeMatch::Loose && !agree) {
        m_conflicting = true;
        return std::nullopt;
    }
    return found;
}
