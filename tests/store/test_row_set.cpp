#include "store/row_set.h"
#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "support/store_test.h"
#include "ui/row_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

namespace {

struct NameRow {
    qint64 rowid = -1;
    QString name;
    double n = 0;
};

// Rows of a small table of names, ordered by name, optionally only those
// with n below a limit.
std::vector<NameRow> readNames(Database &db, const QList<qint64> *ids, double below)
{
    QString sql = u"SELECT rowid, name, n FROM Names WHERE n < ?1"_s;
    if (ids) {
        QStringList marks;
        for (qint64 id : *ids)
            marks << QString::number(id);
        sql += u" AND rowid IN (%1)"_s.arg(marks.join(u',')); // numbers only
    }
    Statement st(db, sql + u" ORDER BY name, rowid"_s);
    st.bind(1, below);
    std::vector<NameRow> rows;
    while (st.step())
        rows.push_back({ st.columnInt(0), st.columnText(1), st.columnDouble(2) });
    return rows;
}

class RowSetTest : public StoreTest {
protected:
    RowSetTest()
    {
        exec(u"CREATE TABLE Names (name TEXT, n REAL)"_s);
        for (const auto &[name, n] : std::initializer_list<std::pair<QString, double>> {
                 { u"bravo"_s, 1 }, { u"delta"_s, 2 }, { u"foxtrot"_s, 3 } })
            exec(u"INSERT INTO Names VALUES (?, ?)"_s, { name, n });
        names.open();
    }

    // A write of the program's own, announced as the typed writes announce theirs.
    void write(const QString &sql, const QVariantList &values, const QList<qint64> &rowids)
    {
        Statement st(dm.Banco(), sql);
        st.bindAll(values);
        st.step();
        dm.Banco().announceRowsWritten(u"Names"_s, rowids);
    }

    QStringList shown() const
    {
        QStringList out;
        for (const NameRow &r : names.rows())
            out << r.name;
        return out;
    }

    double limit = 100;
    RowSet<NameRow> names { dm.Banco(), u"Names"_s, {},
        [this](Database &db, const QList<qint64> *ids) { return readNames(db, ids, limit); },
        [](const NameRow &a, const NameRow &b) { return a.name < b.name; } };
};

TEST_F(RowSetTest, FollowsTheRowsItsOwnStatementsWriteAndKeepsTheCurrentRow)
{
    RowModel model(names, { { u"Nome"_s, 80, rowCells<NameRow>(names, [](const NameRow &r, int role) {
                                 return role == Qt::DisplayRole ? QVariant(r.name) : QVariant();
                             }) } });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(shown(), (QStringList { u"bravo"_s, u"delta"_s, u"foxtrot"_s }));
    EXPECT_EQ(names.currentRow(), 0);

    names.setCurrentRow(1); // delta
    QSignalSpy changed(&names, &RowSetBase::rowChanged);
    write(u"UPDATE Names SET n = 9 WHERE rowid = 2"_s, {}, { 2 });
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(names.current()->n, 9);

    // Renamed past the others: it moves to its place and stays current.
    write(u"UPDATE Names SET name = 'zulu' WHERE rowid = 2"_s, {}, { 2 });
    EXPECT_EQ(shown(), (QStringList { u"bravo"_s, u"foxtrot"_s, u"zulu"_s }));
    EXPECT_EQ(names.current()->name, u"zulu"_s);

    // A new row goes to its place in the order; the current row stays.
    write(u"INSERT INTO Names VALUES ('charlie', 1)"_s, {}, { 4 });
    EXPECT_EQ(shown(), (QStringList { u"bravo"_s, u"charlie"_s, u"foxtrot"_s, u"zulu"_s }));
    EXPECT_EQ(names.current()->name, u"zulu"_s);

    // The current row deleted: the one after it takes its place, or the last.
    names.setCurrentRow(1);
    write(u"DELETE FROM Names WHERE rowid = 4"_s, {}, { 4 });
    EXPECT_EQ(names.current()->name, u"foxtrot"_s);
    names.setCurrentRow(2);
    write(u"DELETE FROM Names WHERE rowid = 2"_s, {}, { 2 });
    EXPECT_EQ(names.current()->name, u"foxtrot"_s);

    // A row that leaves the set's choice goes as a deleted one does.
    limit = 3;
    write(u"UPDATE Names SET n = 5 WHERE rowid = 3"_s, {}, { 3 });
    EXPECT_EQ(shown(), (QStringList { u"bravo"_s }));
    EXPECT_EQ(names.currentRow(), 0);

    // Another table's writes leave it alone; closing the store empties it.
    dm.Banco().announceRowsWritten(u"Others"_s, { 1 });
    EXPECT_EQ(names.rowCount(), 1);
    dm.Banco().close();
    EXPECT_FALSE(names.isOpen());
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(RowSetTest, ReloadKeepsTheCurrentRowAndARolledBackWriteIsReadAgain)
{
    names.setCurrentRow(2);
    exec(u"INSERT INTO Names VALUES ('alfa', 0)"_s); // past the set
    names.reload();
    EXPECT_EQ(names.rowCount(), 4);
    EXPECT_EQ(names.current()->name, u"foxtrot"_s);
    {
        auto tx = dm.Banco().transaction();
        write(u"DELETE FROM Names WHERE name = 'bravo'"_s, {}, { 1 });
        EXPECT_EQ(names.rowCount(), 3);
    } // rolled back
    EXPECT_EQ(names.rowCount(), 4);
    EXPECT_EQ(names.current()->name, u"foxtrot"_s);
    EXPECT_TRUE(names.locate([](const NameRow &r) { return r.name == u"delta"_s; }));
    EXPECT_EQ(names.currentRow(), 2);
    EXPECT_FALSE(names.locate([](const NameRow &r) { return r.name == u"echo"_s; }));
    EXPECT_EQ(names.currentRow(), 2);
}

TEST_F(RowSetTest, AnEditedCellIsWrittenAtOnceAndARefusedOneReportsWhy)
{
    GridColumn n { u"N"_s, 40, rowCells<NameRow>(names, [](const NameRow &r, int role) {
                      return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(r.n) : QVariant();
                  }) };
    n.number = true;
    n.write = [this](int row, const QVariant &value) {
        bool ok = false;
        const double number = value.toString().toDouble(&ok);
        if (!ok)
            throw StoreError(u"'%1' não é um número válido"_s.arg(value.toString()));
        write(u"UPDATE Names SET n = ? WHERE rowid = ?"_s, { number, names.rowIdAt(row) },
            { names.rowIdAt(row) });
    };
    RowModel model(names, { n });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy errors(&model, &RowModel::errorOccurred);

    EXPECT_TRUE(model.setData(model.index(1, 0), u"7.5"_s));
    EXPECT_EQ(names.currentRow(), 1);
    EXPECT_EQ(scalar(u"SELECT n FROM Names WHERE name = 'delta'"_s).toDouble(), 7.5);
    EXPECT_EQ(model.index(1, 0).data().toDouble(), 7.5);
    EXPECT_EQ(model.index(1, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
        Qt::AlignRight);

    EXPECT_FALSE(model.setData(model.index(2, 0), u"abc"_s));
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(model.lastError(), u"'abc' não é um número válido"_s);
    EXPECT_EQ(scalar(u"SELECT n FROM Names WHERE name = 'foxtrot'"_s).toDouble(), 3);
}

} // namespace
