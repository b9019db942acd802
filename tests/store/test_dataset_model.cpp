#include "support/store_test.h"

#include "store/dataset_model.h"
#include "store/sqlcipher.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QColor>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>

class DatasetModelTest : public StoreTest {
protected:
    DatasetModelTest() { dm.setPodeIcota(true); }
};

TEST_F(DatasetModelTest, DisplayFormatsFollowTheRegionalSettings)
{
    struct Case {
        QVariant value;
        FieldType type;
        QString format;
        QString shown;
    };
    const QList<Case> cases {
        { QDate(2020, 6, 5), FieldType::Date, u"dd/mm/yyyy"_s, u"05/06/2020"_s },
        { QDate(2020, 6, 5), FieldType::Date, QString(), u"05/06/2020"_s },
        { QTime(9, 5, 30), FieldType::Time, u"HH:NN"_s, u"09:05"_s },
        { 1234.5, FieldType::Float, u"0.00"_s, u"1234,50"_s },
        { 1234.5, FieldType::Float, u"#,##0.00"_s, u"1.234,50"_s },
        { -0.001, FieldType::Float, u"0.00"_s, u"0,00"_s },
        { 1234.5, FieldType::Float, QString(), u"1234,5"_s },
        { qint64(1234567), FieldType::Integer, QString(), u"1234567"_s },
        { QVariant(), FieldType::Float, u"0.00"_s, QString() },
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatValue(c.value, c.type, c.format), c.shown) << c.format.toStdString();
}

TEST_F(DatasetModelTest, ModelFollowsTheDatasetThroughEveryChange)
{
    Table &t = itemsTable();
    t.setFilter(u"COTACAO = ?"_s, { u"1"_s });
    t.setFiltered(true);
    t.open();
    DatasetModel model(t,
        { { u"MARCA"_s, QString(), 115, QString(), true }, { u"QTDE"_s, QString(), 49, QString(), true },
            { u"valor"_s, QString(), 71, QString(), false } });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    addItem(t, { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"B"_s, .qtde = 2.0 });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P2"_s, .marca = u"A"_s });
    addItem(t, { .cotacao = u"2"_s, .produto = u"P3"_s, .marca = u"C"_s }); // filtered out
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 0).data().toString(), u"B");
    EXPECT_EQ(model.index(1, 1).data().toString(), u"2,00");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), u"VALOR");

    // Typing a price: read by the regional settings and posted.
    EXPECT_TRUE(model.setData(model.index(1, 2), u"1234,5"_s));
    EXPECT_EQ(model.index(1, 2).data().toString(), u"1234,50");
    EXPECT_EQ(model.index(1, 2).data(Qt::EditRole).toString(), u"1234,5");
    EXPECT_EQ(t.currentRow(), 1);
    EXPECT_FALSE(model.setData(model.index(0, 2), u"abc"_s));
    EXPECT_EQ(model.lastError(), u"'abc' não é um número válido");
    EXPECT_EQ(t.state(), Dataset::State::Browse);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    // A row that moves, one that leaves the filter, a delete, a new filter.
    t.first();
    t.edit();
    t.setText(u"MARCA"_s, u"Z"_s);
    t.post();
    EXPECT_EQ(model.index(1, 0).data().toString(), u"Z");
    t.edit();
    t.setText(u"COTACAO"_s, u"2"_s);
    t.post();
    EXPECT_EQ(model.rowCount(), 1);
    t.deleteRow();
    EXPECT_EQ(model.rowCount(), 0);
    t.setFilter(u"COTACAO = ?"_s, { u"2"_s });
    EXPECT_EQ(model.rowCount(), 2);
    t.close();
    EXPECT_EQ(model.rowCount(), 0);
}

// A cell is stored at once, by its row's rowid: the row takes its place in
// the order or leaves the filter, and the current row goes with it.
TEST_F(DatasetModelTest, AnEditedCellIsStoredAtOnceAndTheRowFollows)
{
    Table &t = itemsTable();
    t.setFilter(u"COTACAO = ?"_s, { u"1"_s });
    t.setFiltered(true);
    t.open();
    DatasetModel model(t); // every column
    const auto cell = [&](int row, const QString &name) { return model.index(row, t.fieldIndex(name)); };
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    addItem(t, { .cotacao = u"1"_s, .produto = u"P1"_s, .marca = u"A"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P2"_s, .marca = u"B"_s });
    addItem(t, { .cotacao = u"1"_s, .produto = u"P3"_s, .marca = u"C"_s });
    const QString stored = u"SELECT PRODUTO, MARCA, COTACAO, OBS FROM CotacaoFornc ORDER BY rowid"_s;

    EXPECT_TRUE(model.setData(cell(0, u"MARCA"_s), u"Z"_s));
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P2"_s, u"P3"_s, u"P1"_s }));
    EXPECT_EQ(t.asString(u"PRODUTO"_s), u"P1");
    EXPECT_TRUE(model.setData(cell(0, u"OBS"_s), u"ENTREGA EM 2 DIAS; ÇÃO ñ ß \u4e2d"_s));
    EXPECT_TRUE(model.setData(cell(1, u"COTACAO"_s), u"2"_s));
    EXPECT_EQ(column(t, u"PRODUTO"_s), (QStringList { u"P2"_s, u"P1"_s }));
    EXPECT_EQ(rows(stored),
        (QStringList { u"P1|Z|1|~"_s, u"P2|B|1|ENTREGA EM 2 DIAS; ÇÃO ñ ß ?"_s, u"P3|C|2|~"_s }));

    // Refused: a required column emptied; a row deleted since it was read.
    EXPECT_FALSE(model.setData(cell(0, u"PRODUTO"_s), QString()));
    EXPECT_EQ(model.lastError(), u"Field 'PRODUTO' must have a value");
    Statement behind(dm.Banco(), u"DELETE FROM CotacaoFornc WHERE PRODUTO = 'P1'"_s);
    behind.step();
    EXPECT_FALSE(model.setData(cell(1, u"MARCA"_s), u"Y"_s));
    EXPECT_EQ(model.lastError(), u"CotaFornec: O registro foi apagado por outra operação.");
    EXPECT_EQ(column(t, u"PRODUTO"_s), QStringList { u"P2"_s });
    EXPECT_EQ(t.state(), Dataset::State::Browse);
    EXPECT_EQ(rows(stored), (QStringList { u"P2|B|1|ENTREGA EM 2 DIAS; ÇÃO ñ ß ?"_s, u"P3|C|2|~"_s }));
}

TEST_F(DatasetModelTest, StyleComesFromRowValuesAndCurrentRowIsFollowedBothWays)
{
    addQuotation(u"1"_s, u"ABERTA"_s);
    addQuotation(u"2"_s, u"Baixada"_s);
    addQuotation(u"3"_s, u"Enviar"_s);
    Table &t = dm.CotaLiberada();
    DatasetModel model(t);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int status = t.fieldIndex(u"TipoStatus"_s);
    model.setStyleHook([status](const Dataset &d, int row, int, int role) -> QVariant {
        if (role != Qt::BackgroundRole)
            return {};
        const QString s = d.value(row, status).toString().toUpper();
        if (s == u"ABERTA")
            return QBrush(QColor(135, 206, 235));
        return s == u"BAIXADA" ? QVariant(QBrush(QColor(192, 220, 192))) : QVariant();
    });
    EXPECT_EQ(model.index(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(135, 206, 235));
    EXPECT_EQ(model.index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(192, 220, 192));
    EXPECT_FALSE(model.index(2, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), u"Cotação");

    QItemSelectionModel selection(&model);
    model.followSelection(&selection);
    selection.setCurrentIndex(model.index(2, 1), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(t.currentRow(), 2);
    t.first();
    EXPECT_EQ(selection.currentIndex().row(), 0);
    ASSERT_TRUE(t.locate(u"Cotacao"_s, { u"2"_s }));
    EXPECT_EQ(selection.currentIndex().row(), 1);
}

// A view whose current row is the row being added: while the row goes from
// pending to stored, the view moves off it, and that move must not reach the
// dataset in the middle of the change (a sorting proxy would lose count).
TEST_F(DatasetModelTest, AViewBehindASortingProxyFollowsARowAddedWhileItIsCurrent)
{
    addQuotation(u"1"_s, u"ABERTA"_s);
    addQuotation(u"3"_s, u"Baixada"_s);
    Table &t = dm.CotaLiberada();
    ModelColumn reversed { {}, u"Ao contrário"_s, 0, {}, true };
    reversed.compute = [](const Dataset &d, int row, int role) -> QVariant {
        const QString cotacao = d.value(row, 0).toString();
        return role == Qt::UserRole ? QVariant(-cotacao.toInt()) : QVariant();
    };
    DatasetModel model(t, { { u"Cotacao"_s, QString(), 0, QString(), true }, reversed });
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(Qt::UserRole);
    QAbstractItemModelTester sourceTester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester proxyTester(&sorted, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QItemSelectionModel selection(&sorted);
    model.followSelection(&selection);

    ASSERT_TRUE(t.append());
    EXPECT_EQ(selection.currentIndex().row(), 2);
    t.setText(u"Cotacao"_s, u"2"_s);
    t.post();
    ASSERT_EQ(sorted.rowCount(), 3);
    EXPECT_EQ(selection.currentIndex().data().toString(), u"2"_s);

    sorted.sort(1);
    EXPECT_EQ(sorted.index(0, 0).data().toString(), u"3"_s);
    EXPECT_EQ(t.currentRow(), 1); // the dataset keeps its own order
    selection.setCurrentIndex(sorted.index(0, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(t.asString(u"Cotacao"_s), u"3"_s);
    t.first();
    EXPECT_EQ(selection.currentIndex().row(), 2);
}
