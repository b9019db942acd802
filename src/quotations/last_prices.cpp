#include "quotations/last_prices.h"

#include "common/regional.h"
#include "store/schema.h"
#include "store/sqlcipher.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

bool priced(const QVariant &valor)
{
    return valor.isValid() && !valor.isNull() && valor.toDouble() != 0;
}

} // namespace

LastPrices::LastPrices(Database &db)
    : m_db(db)
{
}

LastPrices::~LastPrices() = default;

std::optional<LastPrice> LastPrices::find(
    const QString &cotacao, const QString &marca, const QString &prodfabr)
{
    if (prodfabr.trimmed().isEmpty())
        return std::nullopt;
    const QString key = marca.toCaseFolded() + QChar(0xFFFF) + prodfabr.toCaseFolded() + QChar(0xFFFF)
        + cotacao.toCaseFolded();
    const auto known = m_found.constFind(key);
    if (known != m_found.cend())
        return *known;
    const std::optional<LastPrice> price = search(cotacao, marca, prodfabr);
    m_found.insert(key, price);
    return price;
}

std::optional<LastPrice> LastPrices::search(
    const QString &cotacao, const QString &marca, const QString &prodfabr)
{
    const QString brand = marca.toCaseFolded();
    const QString quotation = cotacao.toCaseFolded();
    const QString exact = exactCodeKey(prodfabr);
    const QString loose = looseCodeKey(prodfabr);
    if (loose.isEmpty())
        return std::nullopt;
    // Newest first: the first exact candidate that fits is the answer, and
    // the first loose one is, when no exact one fits.
    std::optional<LastPrice> looseFound;
    const auto consider = [&](const Candidate &c) {
        if (!priced(c.valor) || c.marca != brand || c.cotacao.toCaseFolded() == quotation)
            return false;
        const bool same = c.code == exact;
        if (same || !looseFound)
            looseFound = LastPrice { c.valor.toDouble(), c.cotacao, c.data,
                same ? CodeMatch::Exact : CodeMatch::Loose };
        return same;
    };
    forEachCandidate(loose, consider);
    return looseFound;
}

void LastPrices::forEachCandidate(const QString &loose, const std::function<bool(const Candidate &)> &visit)
{
    if (!isAscii(loose)) {
        loadUnusualParts();
        for (const Candidate &c : m_unusual.value(loose)) {
            if (visit(c))
                break;
        }
        return;
    }
    // The index folds ASCII letters only, which is all a key of ASCII
    // letters needs.
    if (!m_byPart)
        m_byPart = std::make_unique<Statement>(m_db,
            u"SELECT MARCA, COTACAO, VALOR, DATA, PRODFABR FROM CotacaoFornc WHERE %1 = ?1 "
            "ORDER BY DATA DESC, COTACAO DESC"_s.arg(looseCodeSql(u"\"PRODFABR\""_s)));
    m_byPart->bind(1, loose);
    while (m_byPart->step()) {
        const Candidate c { m_byPart->columnText(0).toCaseFolded(), exactCodeKey(m_byPart->columnText(4)),
            m_byPart->columnText(1), m_byPart->columnValue(2), isoDate(m_byPart->columnText(3)) };
        if (visit(c))
            break;
    }
    m_byPart->reset();
}

QList<LastPrice> LastPrices::history(const QString &marca, const QString &prodfabr)
{
    const QString brand = marca.toCaseFolded();
    const QString exact = exactCodeKey(prodfabr);
    const QString loose = looseCodeKey(prodfabr);
    if (prodfabr.trimmed().isEmpty() || loose.isEmpty())
        return {};
    // One point per quotation: its item with the code as written, else the
    // first written another way.
    QList<LastPrice> newestFirst;
    QHash<QString, qsizetype> atQuotation;
    forEachCandidate(loose, [&](const Candidate &c) {
        if (!priced(c.valor) || c.marca != brand)
            return false;
        const LastPrice p { c.valor.toDouble(), c.cotacao, c.data,
            c.code == exact ? CodeMatch::Exact : CodeMatch::Loose };
        const auto known = atQuotation.constFind(c.cotacao);
        if (known == atQuotation.cend()) {
            atQuotation.insert(c.cotacao, newestFirst.size());
            newestFirst.append(p);
        } else if (p.match == CodeMatch::Exact && newestFirst.at(*known).match == CodeMatch::Loose) {
            newestFirst[*known] = p;
        }
        return false;
    });
    std::reverse(newestFirst.begin(), newestFirst.end());
    return newestFirst;
}

void LastPrices::loadUnusualParts()
{
    if (m_unusualLoaded)
        return;
    m_unusualLoaded = true;
    Statement st(m_db,
        u"SELECT PRODFABR, MARCA, COTACAO, VALOR, DATA FROM CotacaoFornc "
        "WHERE PRODFABR GLOB '*[^ -~]*' ORDER BY DATA DESC, COTACAO DESC"_s);
    while (st.step()) {
        const QString code = st.columnText(0);
        m_unusual[looseCodeKey(code)].append({ st.columnText(1).toCaseFolded(), exactCodeKey(code),
            st.columnText(2), st.columnValue(3), isoDate(st.columnText(4)) });
    }
}

QuotationLastPrices lastPricesOf(Database &db, const QString &cotacao)
{
    QuotationLastPrices out;
    LastPrices prices(db);
    // The order of the price grid: by brand, then as downloaded.
    Statement items(
        db, u"SELECT PRODUTO, MARCA, PRODFABR FROM CotacaoFornc WHERE COTACAO = ? ORDER BY MARCA, rowid"_s);
    items.bind(1, cotacao);
    while (items.step()) {
        ++out.items;
        ItemLastPrice item { items.columnText(0), items.columnText(1), items.columnText(2), {} };
        if (const std::optional<LastPrice> price = prices.find(cotacao, item.marca, item.prodfabr)) {
            item.price = *price;
            out.found.append(item);
        }
    }
    return out;
}
