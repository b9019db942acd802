#include "purge/data_purge.h"

#include "common/regional.h"
#include "store/batch_write.h"
#include "store/data_module.h"
#include "store/store_backup.h"
#include "store/store_error.h"

#include <QDir>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;

struct Kind {
    QLatin1StringView code;
    QLatin1StringView statement;
    QString name;
};

// The cut-off is bound as a date. date() of a column reads only an ISO date
// (a time of day after it is dropped): an empty date, or any text that is no
// date, compares as nothing and its row stays.
const Kind Kinds[] = {
    { "CL"_L1, "Delete from cotaliberadas where date(dataliberada) <= :Data"_L1, u"Cotações Liberadas"_s },
    { "PL"_L1, "Delete from PedidosLiberados where date(DataLiberado) <= :Data"_L1, u"Pedidos Liberados"_s },
    { "CB"_L1, "Delete from CotacaoFornc where date(data) <= :Data"_L1, u"Cotações Baixadas"_s },
    { "PB"_L1, "Delete from PedidoFornc where date(data) <= :Data"_L1, u"Pedidos Baixados"_s },
};

void run(TDm &dm, const Kind &kind, const QDate &day)
{
    Statement purge(dm.Banco(), QString(kind.statement));
    purge.bind(purge.parameterIndex(":Data"), day);
    dm.Banco().executeTracked(purge);
}

Field declared(const QString &name, FieldType type, int size = 0)
{
    Field f;
    f.name = name;
    f.type = type;
    f.size = size;
    return f;
}

void setList(Query &list, const QString &statement, const FieldList &fields = {})
{
    list.setReadOnly(true);
    list.setSql(statement.split(u'\n'));
    list.setFieldDefs(fields);
}

} // namespace

namespace {

// A purge cannot be undone: what it deletes stays in a copy beside the store.
// Without that copy nothing is deleted.
BesideBackup backUpFirst(TDm &dm)
{
    try {
        return backUpBeside(dm.Banco());
    } catch (const StoreError &e) {
        throw StoreError(e.message() + u". Nada foi apagado."_s);
    }
}

// Where the copy is, and which older copies made room for it: no backup
// disappears without a word.
QString backupLines(const BesideBackup &made)
{
    QString lines = u"\nCópia do banco antes de apagar: "_s + QDir::toNativeSeparators(made.path);
    if (!made.removed.isEmpty())
        lines
            += u"\nCópias mais antigas apagadas (ficam as cinco mais novas): "_s + made.removed.join(u", "_s);
    return lines;
}

bool runsSomething(const QString &op)
{
    return op.isEmpty()
        || std::any_of(std::begin(Kinds), std::end(Kinds), [&op](const Kind &k) { return op == k.code; });
}

} // namespace

void DeletePedCotaAntigo(Prompts &prompts, TDm &dm, const QDate &Data, const QString &op)
{
    std::optional<BesideBackup> made;
    if (runsSomething(op))
        made = backUpFirst(dm);
    QString name;
    if (op.isEmpty()) {
        // Four deletions, one disk sync; a failing one keeps those before it.
        std::optional<Transaction> tx;
        try {
            tx.emplace(dm.Banco());
            for (const Kind &kind : Kinds)
                run(dm, kind, Data);
            tx->commit();
        } catch (...) {
            keepWhatWasStored(tx);
            throw;
        }
        name = u"Todos"_s;
    } else {
        for (const Kind &kind : Kinds) {
            if (op == kind.code) {
                run(dm, kind, Data);
                name = kind.name;
            }
        }
    }
    prompts.message(
        Atencao, u"Processo finalizado.... apagados "_s + name + (made ? backupLines(*made) : QString()));
}

DataPurge::DataPurge(Prompts &prompts, TDm &dm)
    : m_prompts(prompts)
    , m_dm(dm)
    , m_cotasLiberadas(dm.Banco(), u"CotasLiberadas"_s)
    , m_cotaBaixadas(dm.Banco(), u"CotaBaixadas"_s)
    , m_pedidosLiberados(dm.Banco(), u"PedidosLiberados"_s)
    , m_pedidosBaixados(dm.Banco(), u"PedidosBaixados"_s)
{
    setList(m_cotasLiberadas,
        u"Select Cotacao, DataLiberada, TipoStatus from cotaliberadas \n"
        "order by DataLiberada Desc"_s);
    setList(m_cotaBaixadas,
        u"Select distinct Cotacao, Data, TipoStatus from CotacaoFornc order by Data Desc"_s,
        { declared(u"Cotacao"_s, FieldType::Text, 17), declared(u"Data"_s, FieldType::Date),
            declared(u"TipoStatus"_s, FieldType::Text, 7) });
    setList(m_pedidosLiberados,
        u"Select Pedido, DataLiberado, TipoStatus from pedidosliberados order by DataLiberado Desc"_s);
    setList(m_pedidosBaixados, u"Select distinct Pedido, Data from PedidoFornc order by Data Desc"_s,
        { declared(u"Pedido"_s, FieldType::Text, 17), declared(u"Data"_s, FieldType::Date) });
}

bool DataPurge::refreshLists()
{
    try {
        for (Query *list : { &m_cotasLiberadas, &m_cotaBaixadas, &m_pedidosLiberados, &m_pedidosBaixados }) {
            list->close();
            list->open();
        }
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool DataPurge::purge(const QDate &day, const QString &code)
{
    try {
        DeletePedCotaAntigo(m_prompts, m_dm, day, code);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return refreshLists();
}

bool DataPurge::purgeKind(const QDate &day, const QString &code)
{
    // An empty code would purge everything: that one asks first.
    return code.isEmpty() ? purgeAll(day) : purge(day, code);
}

bool DataPurge::purgeAll(const QDate &day)
{
    if (!m_prompts.ask(Atencao, confirmationText(day)))
        return false;
    return purge(day, QString());
}

QString DataPurge::confirmationText(const QDate &day)
{
    return u"Todos os dados da data = "_s + dateText(day, u"dd/mm/yyyy"_s)
        + u" para traz serão apagados. Confirma???"_s;
}
