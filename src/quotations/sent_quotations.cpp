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
    Query &cab = m_dm.ConsCotaCab();
    Query &itens = m_dm.ConsCotaItens();
    try {
        // Items closed first: they would otherwise be read again for every
        // step of their master's reopening.
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
    Query &cab = m_dm.ConsCotaCab();
    return cab.isOpen() && cab.locate(u"Cotacao"_s, { cotacao });
}

double SentQuotations::total()
{
    Query &itens = m_dm.ConsCotaItens();
    if (!itens.isOpen())
        return 0;
    // Read from the rows in memory: the grid need not follow a walk.
    const int column = itens.fieldIndex(u"Total"_s);
    double sum = 0;
    for (int row = 0; row < itens.rowCount(); ++row)
        sum += itens.value(row, column).toDouble();
    itens.first();
    return sum;
}

QString SentQuotations::totalText()
{
    return u"Valor total da cotação : "_s + numberText(total(), u"#,##0.00"_s);
}
