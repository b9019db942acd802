#include "store/data_module.h"
#include "store/row_set.h"
#include "store/sqlcipher.h"
#include "support/test_store.h"
#include "ui/row_model.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct NumberRow {
    qint64 rowid = -1;
    QString cotacao;
};

std::vector<NumberRow> readNumbers(Database &db, const QList<qint64> *ids)
{
    Statement st(db, u"SELECT rowid, Cotacao FROM CotaLiberadas ORDER BY rowid"_s);
    std::vector<NumberRow> rows;
    while (st.step()) {
        if (!ids || ids->contains(st.columnInt(0)))
            rows.push_back({ st.columnInt(0), st.columnText(1) });
    }
    return rows;
}

struct GridWindow {
    // The grid takes its font after it is made, as some windows give theirs.
    GridWindow(TestStore &store, int pixels, int width)
        : numbers(store.dm.Banco(), u"CotaLiberadas"_s, {}, readNumbers,
            [](const NumberRow &a, const NumberRow &b) { return a.rowid < b.rowid; })
    {
        numbers.open();
        window.setFont(tahomaPixels(11));
        window.resize(420, 200);
        model = new RowModel(numbers,
            { { u"Cotação"_s, width,
                rowCells<NumberRow>(numbers,
                    [](const NumberRow &r, int role) {
                        return role == Qt::DisplayRole ? QVariant(r.cotacao) : QVariant();
                    }) } },
            &window);
        grid = makeRowGrid(&window, "grid", model, { 0, 0, 420, 200 });
        grid->setFont(tahomaPixels(pixels));
        window.show();
        QApplication::setActiveWindow(&window);
        grid->setFocus();
    }
    RowSet<NumberRow> numbers;
    QWidget window;
    RowModel *model;
    QTableView *grid;
};

} // namespace

// Accents on capitals ("ÓLEO", "Â") and the cedilla below stay whole inside
// the selected row's frame and the current cell's dotted frame of a grid
// that edits: marking the row covers no pixel of its text.
TEST(Grid, TheSelectedRowsMarkingLeavesEveryGlyphWhole)
{
    TestStore store;
    store.addQuotation(u"ÓLEO ÂNGULO ÇÃ"_s, u"ABERTA"_s);
    store.addQuotation(u"ZZ"_s, u"ABERTA"_s);
    for (const int pixels : { 11, 13, 16 }) {
        for (const bool edits : { false, true }) {
            SCOPED_TRACE(testing::Message() << pixels << " px" << (edits ? ", editing" : ""));
            GridWindow w(store, pixels, 300);
            w.grid->setEditTriggers(
                edits ? QAbstractItemView::DoubleClicked : QAbstractItemView::NoEditTriggers);
            w.grid->selectRow(1);
            const QImage plain = w.grid->viewport()->grab().toImage();
            w.grid->selectRow(0);
            const QImage marked = w.grid->viewport()->grab().toImage();

            const QRect cell = w.grid->visualRect(w.model->index(0, 0));
            const QColor base = w.grid->palette().color(QPalette::Base);
            int text = 0, covered = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    if (plain.pixelColor(x, y) == base)
                        continue;
                    ++text;
                    if (marked.pixelColor(x, y) != plain.pixelColor(x, y))
                        ++covered;
                }
            }
            EXPECT_GT(text, 20);
            EXPECT_EQ(covered, 0);
            // The marking is there all the same.
            const QColor frame = w.grid->palette().color(QPalette::Active, QPalette::Highlight);
            EXPECT_EQ(marked.pixelColor(cell.center().x(), cell.top()), frame);
            EXPECT_EQ(marked.pixelColor(cell.center().x(), cell.bottom()), frame);
        }
    }
}

// A cell too narrow for its text shows it whole as its tool tip; a cell
// whose text fits shows none.
TEST(Grid, ACutCellShowsItsWholeTextAsItsToolTip)
{
    TestStore store;
    store.addQuotation(u"20260001010000001"_s, u"ABERTA"_s);
    store.addQuotation(u"C2"_s, u"ABERTA"_s);
    GridWindow w(store, 13, 60);
    const auto tipOver = [&](int row) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        const QPoint at = w.grid->visualRect(w.model->index(row, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, w.grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(w.grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipOver(0), u"20260001010000001"_s);
    EXPECT_EQ(tipOver(1), QString());
}
