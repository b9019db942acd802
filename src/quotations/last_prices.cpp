#include "quotations/last_prices.h"

#include "common/regional.h"
#include "store/sqlcipher.h"

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
    const auto fits = [&](const Candidate &c) {
        return priced(c.valor) && c.marca == brand && c.cotacao.toCaseFolded() != quotation;
    };
    if (!isAscii(prodfabr)) {
        loadUnusualParts();
        for (const Candidate &c : m_unusual.value(prodfabr.toCaseFolded())) {
            if (fits(c))
                return LastPrice { c.valor.toDouble(), c.cotacao, c.data };
        }
        return std::nullopt;
    }
    // The index folds ASCII letters only, which is all a part of ASCII
    // letters needs; newest first, so the first that fits is the answer.
    if (!m_byPart)
        m_byPart = std::make_unique<Statement>(m_db,
            u"SELECT MARCA, COTACAO, VALOR, DATA FROM CotacaoFornc WHERE PRODFABR = ?1 COLLATE NOCASE "
            "ORDER BY DATA DESC, COTACAO DESC"_s);
    m_byPart->bind(1, prodfabr);
    std::optional<LastPrice> found;
    while (!found && m_byPart->step()) {
        const Candidate c { m_byPart->columnText(0).toCaseFolded(), m_byPart->columnText(1),
            m_byPart->columnValue(2), isoDate(m_byPart->columnText(3)) };
        if (fits(c))
            found = LastPrice { c.valor.toDouble(), c.cotacao, c.data };
    }
    m_byPart->reset();
    return found;
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
        m_unusual[st.columnText(0).toCaseFolded()].append({ st.columnText(1).toCaseFolded(), st.columnText(2),
            st.columnValue(3), isoDate(st.columnText(4)) });
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
