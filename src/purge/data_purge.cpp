#include "purge/data_purge.h"

#include "common/regional.h"
#include "store/batch_write.h"
#include "store/data_module.h"
#include "store/purge_writes.h"
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
    DatedRows rows;
    QString name;
};

const Kind Kinds[] = {
    { "CL"_L1, DatedRows::ReleasedQuotations, u"Cotações Liberadas"_s },
    { "PL"_L1, DatedRows::ReleasedOrders, u"Pedidos Liberados"_s },
    { "CB"_L1, DatedRows::QuotationItems, u"Cotações Baixadas"_s },
    { "PB"_L1, DatedRows::OrderItems, u"Pedidos Baixados"_s },
};

void run(TDm &dm, const Kind &kind, const QDate &day)
{
    deleteDatedRows(dm.Banco(), kind.rows, day);
}

// A list read whole at each refresh: it follows no write of its own, so it
// is never read by ids.
DataPurge::List::Reader dated(std::vector<DatedKeyRow> (*read)(Database &))
{
    return [read](Database &db, const QList<qint64> *) { return read(db); };
}

bool newestFirst(const DatedKeyRow &a, const DatedKeyRow &b)
{
    return a.date > b.date;
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
    , m_cotasLiberadas(dm.Banco(), QString(), {}, dated(readReleasedQuotationDates), newestFirst)
    , m_cotaBaixadas(dm.Banco(), QString(), {}, dated(readQuotationItemDates), newestFirst)
    , m_pedidosLiberados(dm.Banco(), QString(), {}, dated(readReleasedOrderDates), newestFirst)
    , m_pedidosBaixados(dm.Banco(), QString(), {}, dated(readOrderItemDates), newestFirst)
{
}
bool DataPurge::refreshLists()
{
    try {
        for (List *list : { &m_cotasLiberadas, &m_cotaBaixadas, &m_pedidosLiberados, &m_pedidosBaixados })
            list->open();
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
