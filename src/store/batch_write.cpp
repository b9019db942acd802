#include "store/batch_write.h"

#include "store/dataset.h"
#include "store/sqlcipher.h"

#include <QScopeGuard>

void keepWhatWasStored(std::optional<Transaction> &tx)
{
    if (!tx)
        return;
    try {
        tx->commit();
    } catch (const std::exception &) {
        // The failure already under way is the one the user sees.
    }
}

void writeInOneTransaction(Database &db, Dataset &target, const std::function<void()> &writes)
{
    std::optional<Transaction> tx;
    try {
        tx.emplace(db);
        writes();
        tx->commit();
    } catch (...) {
        target.cancel();
        keepWhatWasStored(tx);
        throw;
    }
}

void storeItemLines(Database &db, Dataset &target, const ItemLineLayout &layout, const QStringList &lines,
    const ItemLineReader &read, const std::function<void()> &finish)
{
    QList<int> column;
    column.reserve(layout.columns.size());
    for (const QString &name : layout.columns)
        column << (name.isEmpty() ? -1 : target.fieldIndex(name));
    const QStringList keyColumns = layout.columns.mid(0, layout.keyPositions);

    target.disableControls();
    const auto enable = qScopeGuard([&target] { target.enableControls(); });
    writeInOneTransaction(db, target, [&] {
        for (const QString &line : lines) {
            const std::optional<QVariantList> values = read(line);
            if (!values)
                continue;
            const bool found = target.locate(keyColumns, values->mid(0, layout.keyPositions));
            if (found)
                target.edit();
            else if (!target.append())
                continue; // refused by the data module's guard
            const qsizetype count = qMin(column.size(), values->size());
            for (qsizetype i = found ? layout.firstUpdated : 0; i < count; ++i) {
                if (column[i] >= 0)
                    target.setValue(int(column[i]), values->at(i));
            }
            target.post();
        }
        if (finish)
            finish();
    });
}
