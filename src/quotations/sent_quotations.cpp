#include "quotations/sent_quotations.h"

#include "common/regional.h"
#include "store/data_module.h"

using namespace Qt::StringLiterals;

SentQuotations::SentQuotations(Prompts &prompts, TDm &dm)
    : m_prompts(prompts)
    , m_dm(dm)
{
}

bool SentQuotations::openQueries()
{
    SentQuotationHeads &cab = m_dm.ConsCotaCab();
    SentQuotationItems &itens = m_dm.ConsCotaItens();
    try {
        // Items closed first: they would otherwise be read once more for the
        // quotations' reopening.
        itens.close();
        cab.close();
        cab.open();
        itens.open();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool SentQuotations::selectQuotation(const QString &cotacao)
{
    const QString wanted = cotacao.toCaseFolded();
    return m_dm.ConsCotaCab().locate(
        [&](const SentQuotationHead &head) { return head.cotacao.toCaseFolded() == wanted; });
}

double SentQuotations::total()
{
    SentQuotationItems &itens = m_dm.ConsCotaItens();
    double sum = 0;
    for (const SentQuotationItem &item : itens.rows())
        sum += item.total.value_or(0);
    itens.setCurrentRow(0);
    return sum;
}

QString SentQuotations::totalText()
{
    return u"Valor total da cotação : "_s + numberText(total(), u"#,##0.00"_s);
}
