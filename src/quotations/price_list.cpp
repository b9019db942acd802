#include "quotations/price_list.h"

#include "common/clock.h"
#include "common/regional.h"
#include "quotations/price_list_file.h"
#include "spreadsheet/spreadsheet_error.h"
#include "store/price_list_store.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Erro = u"Erro"_s;

QString itemCount(qsizetype count)
{
    return count == 1 ? u"1 item"_s : u"%1 itens"_s.arg(count);
}

} // namespace

PriceList::PriceList(Prompts &prompts, Database &db)
    : m_prompts(prompts)
    , m_db(db)
{
}

bool PriceList::chooseAndImport()
{
    const QString path = m_prompts.openFileName(u"Abre Tabela de Preços"_s, QString(),
        u"Planilha ou CSV (*.xlsx *.csv *.txt);;Todos os arquivos (*)"_s);
    return !path.isEmpty() && importFile(path);
}

bool PriceList::importFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    qsizetype count = 0;
    try {
        WaitScope wait(m_prompts);
        // Every row is read and checked before the stored list changes.
        const QList<PriceListEntry> entries = readPriceListFile(path);
        if (entries.isEmpty()) {
            m_prompts.message(Erro,
                u"O arquivo \"%1\" não tem nenhum item abaixo da linha de títulos. Nada foi alterado."_s.arg(
                    name));
            return false;
        }
        replacePriceList(m_db, { name, Clock::current().now(), int(entries.size()) }, entries);
        count = entries.size();
    } catch (const SpreadsheetError &e) {
        m_prompts.message(Erro, e.message() + u" Nada foi alterado."_s);
        return false;
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    m_prompts.message(Atencao, u"Tabela de preços importada de \"%1\": %2."_s.arg(name, itemCount(count)));
    return true;
}

bool PriceList::clear()
{
    try {
        const std::optional<PriceListSource> source = priceListSource(m_db);
        if (!source) {
            m_prompts.message(Atencao, u"Não há tabela de preços."_s);
            return true;
        }
        if (!m_prompts.ask(Atencao,
                u"Apagar a tabela de preços importada de \"%1\" em %2 (%3)?"_s.arg(
                    source->arquivo, dateTimeText(source->importada), itemCount(source->itens))))
            return false;
        clearPriceList(m_db);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    m_prompts.message(Atencao, u"Tabela de preços apagada."_s);
    return true;
}
