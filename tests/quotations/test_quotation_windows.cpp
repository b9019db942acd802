#include "common/clock.h"
#include "quotation_fixture.h"
#include "quotations/widgets/downloaded_chooser.h"
#include "quotations/widgets/item_panels.h"
#include "quotations/widgets/price_entry_window.h"
#include "quotations/widgets/released_quotations_window.h"
#include "quotations/widgets/submission_window.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "ui/row_model.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Delivers what the window posted to itself (a deferred message, a close).
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QColor background(const QAbstractItemModel *model, int row, int column)
{
    return model->index(row, column).data(Qt::BackgroundRole).value<QBrush>().color();
}

bool bold(const QAbstractItemModel *model, int row, int column)
{
    const QVariant font = model->index(row, column).data(Qt::FontRole);
    return font.isValid() && font.value<QFont>().bold();
}

} // namespace

TEST(QuotationWindows, ReleasedListColoursRowsAndFetchesThroughItsClient)
{
    TestStore store;
    store.addQuotation(u"C1"_s, u"aberta"_s);
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    store.addQuotation(u"C3"_s, u"Enviar"_s);
    const QByteArray body = "05/06/2020|C4|14:30|ABERTA|01/06/2020";
    RawServer server({ RawServer::answer(
        "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body) });
    ScriptedPrompts prompts;
    FakeNet net;
    TFCotaLib window(prompts, store.dm, net, server.url(QString()));
    window.setXLogin(u"FORN"_s);
    window.setXSenha(u"S 1"_s);
    QAbstractItemModelTester tester(
        window.dbgrd1()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    window.show();

    // Wider than specified by the column "Prazo", read without scrolling.
    EXPECT_EQ(window.size(), QSize(582 + window.dbgrd1()->columnWidth(4), 298));
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window.font().pixelSize(), 13);
    const QAbstractItemModel *model = window.dbgrd1()->model();
    ASSERT_EQ(model->columnCount(), 5); // "Prazo" after the four
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), u"Cotação"_s);
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), u"Até Hora"_s);
    EXPECT_EQ(window.dbgrd1()->columnWidth(0), 201);
    EXPECT_EQ(model->index(0, 2).data().toString(), u"05/06/2020"_s);
    EXPECT_EQ(model->index(0, 3).data().toString(), u"14:30"_s);
    EXPECT_EQ(background(model, 0, 3), QColor(135, 206, 235));
    EXPECT_TRUE(bold(model, 0, 0));
    EXPECT_EQ(background(model, 1, 0), QColor(192, 220, 192));
    EXPECT_TRUE(bold(model, 1, 2));
    EXPECT_FALSE(model->index(2, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(bold(model, 2, 0));
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);

    QTest::mouseClick(window.btn1(), Qt::LeftButton);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(
        server.requests()[0].bytes.startsWith("GET /net/getcotalib.php?user=FORN&pass=S%201 HTTP/1.1\r\n"));
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(store.status(u"C4"_s), u"ABERTA"_s);
    EXPECT_EQ(prompts.shown.last().kind, u"log"_s);

    // The selected row is the one "Baixar" acts on.
    window.dbgrd1()->setCurrentIndex(model->index(2, 0));
    prompts.clear();
    QTest::mouseClick(window.btn2(), Qt::LeftButton);
    EXPECT_EQ(prompts.transcript(),
        QStringList { u"[Erro] A Cotação : C3 já foi baixada, Enviada ou pronta para "
                      "envio, operação cancelada.."_s });

    QTest::keyClick(window.dbgrd1(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

// The selected row is marked by a frame and keeps the colour of its status.
TEST(QuotationWindows, TheSelectedRowKeepsItsColourInsideAFrame)
{
    TestStore store;
    store.addQuotation(u"C1"_s, u"ABERTA"_s);
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    store.addQuotation(u"C3"_s, u"Enviada"_s);
    ScriptedPrompts prompts;
    FakeNet net;
    TFCotaLib window(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    window.show();
    QTableView *grid = window.dbgrd1();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    ASSERT_TRUE(grid->selectionModel()->isRowSelected(0, {}));

    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(0, 0));
    const QColor frame = grid->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(cell.right() - 10, cell.center().y()), QColor(135, 206, 235));
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.top()), frame);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.center().y()), frame);
    const QRect other = grid->visualRect(grid->model()->index(1, 0));
    EXPECT_EQ(image.pixelColor(other.right() - 10, other.center().y()), QColor(192, 220, 192));

    // A row without a colour of its own keeps the grid's when selected.
    grid->setCurrentIndex(grid->model()->index(2, 0));
    const QImage plain = grid->viewport()->grab().toImage();
    const QRect sent = grid->visualRect(grid->model()->index(2, 0));
    EXPECT_EQ(plain.pixelColor(sent.right() - 10, sent.center().y()), grid->palette().color(QPalette::Base));
    EXPECT_EQ(plain.pixelColor(sent.center().x(), sent.top()), frame);
}

class PriceWindowTest : public ::testing::Test {
protected:
    PriceWindowTest()
    {
        Clock::setCurrent(&clock); // before C1's deadline, 05/06/2020 14:30
        store.addQuotation(u"C1"_s, u"Baixada"_s);
        store.addItem({ .cotacao = u"C1"_s,
            .produto = u"P1"_s,
            .marca = u"AAA"_s,
            .valor = 10.0,
            .obs = u"obs P1"_s,
            .aplicacao = u"uso\rgeral"_s });
        store.addItem({ .cotacao = u"C1"_s, .produto = u"P2"_s, .marca = u"BBB"_s, .obs = u"obs P2"_s });
        window.setChooserRunner([this](ReleasedQuotationSet &baixadas) {
            ++choosing;
            return locateCotacao(baixadas, u"C1"_s);
        });
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QString stored(const QString &column, const QString &produto)
    {
        return store.rows(u"SELECT %1 FROM CotacaoFornc WHERE PRODUTO = ?"_s.arg(column), { produto })
            .value(0);
    }

    // Typing into the grid: the first key opens the cell's editor.
    void type(const QString &text)
    {
        QTest::keyClick(window.dbgrd1(), text.at(0).toLatin1());
        ASSERT_TRUE(editor());
        QTest::keyClicks(editor(), text.mid(1));
    }

    // The cell editor open in the grid, which has the focus.
    QLineEdit *editor()
    {
        auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        return e && window.dbgrd1()->isAncestorOf(e) ? e : nullptr;
    }

    ~PriceWindowTest() override { Clock::setCurrent(nullptr); }

    FixedClock clock { QDateTime(QDate(2020, 6, 1), QTime(9, 0)) };
    TestStore store;
    ScriptedPrompts prompts;
    TPrecoCota window { prompts, store.dm };
    int choosing = 0; // times the chooser ran
};

TEST_F(PriceWindowTest, OpensEmptyThenShowsTheChoiceWithItsColours)
{
    EXPECT_EQ(window.size(), QSize(1018, 569));
    EXPECT_EQ(window.lblCota()->text(), u"0"_s);
    EXPECT_EQ(window.model()->rowCount(), 0);
    QAbstractItemModelTester tester(window.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    EXPECT_EQ(window.lblCota()->text(), u"C1"_s);
    const QAbstractItemModel *model = window.model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(window.dbgrd1()->currentIndex().column(), 5);
    EXPECT_TRUE(window.dbgrd1()->hasFocus());
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(background(model, 0, c), c < 5 ? QColor(101, 245, 184) : QColor(201, 217, 241)) << c;
        EXPECT_EQ(bool(model->flags(model->index(0, c)) & Qt::ItemIsEditable), c >= 5) << c;
    }
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), u"DESCRICAO"_s);
    EXPECT_EQ(model->index(0, 5).data().toString(), u"10,00"_s);

    // The panels: the current item in mint green, the next in sky blue; carriage returns as blanks.
    ItemPanels *panels = window.DBCtrlGrid1();
    EXPECT_EQ(panels->aplicacaoText(0), u"uso geral"_s);
    EXPECT_EQ(panels->obsText(0), u"obs P1"_s);
    EXPECT_EQ(panels->obsText(1), u"obs P2"_s);
    EXPECT_EQ(panels->panel(0)->palette().color(QPalette::Window), QColor(101, 245, 184));
    EXPECT_EQ(panels->panel(1)->palette().color(QPalette::Window), QColor(166, 202, 240));

    // No key adds a row: Down past the last row, Insert.
    QTest::keyClick(window.dbgrd1(), Qt::Key_Down);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Down);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Insert);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(store.rows(u"SELECT COUNT(*) FROM CotacaoFornc"_s), QStringList { u"2"_s });
    EXPECT_EQ(panels->obsText(1), u"obs P2"_s);
    EXPECT_EQ(panels->panel(1)->palette().color(QPalette::Window), QColor(101, 245, 184));

    // Only "Cotações Baixadas" shows the hand cursor.
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        EXPECT_EQ(
            button->cursor().shape(), button == window.btn3() ? Qt::PointingHandCursor : Qt::ArrowCursor)
            << button->objectName().toStdString();
    }
}

TEST_F(PriceWindowTest, TypedPricesAreCheckedAndStored)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTableView *grid = window.dbgrd1();

    type(u"abc"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(prompts.transcript(), QStringList { u"[CotaKelvo] 'abc' não é um número válido."_s });
    ASSERT_TRUE(editor()); // still open for a correction
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"10.0"_s);
    QTest::keyClick(grid, Qt::Key_Escape); // never closes the window
    EXPECT_TRUE(window.isVisible());

    // Typed in the regional form; Tab moves on to the next cell.
    type(u"7,5"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"7.5"_s);
    EXPECT_EQ(grid->currentIndex().column(), 6);

    // A price still in its editor is stored when the grid loses the focus.
    grid->setCurrentIndex(window.model()->index(1, 5));
    type(u"3,25"_s);
    window.btn2()->setFocus();
    EXPECT_EQ(stored(u"VALOR"_s, u"P2"_s), u"3.25"_s);
    // So is a similar item.
    grid->setFocus();
    grid->setCurrentIndex(window.model()->index(1, 6));
    type(u"SIM 2"_s);
    window.btn4()->setFocus();
    EXPECT_EQ(stored(u"SIMILARES"_s, u"P2"_s), u"SIM 2"_s);
    EXPECT_EQ(window.model()->index(1, 6).data().toString(), u"SIM 2"_s);
}

TEST_F(PriceWindowTest, F2AndCtrlDelete)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTableView *grid = window.dbgrd1();
    prompts.inputs = { u"urgente"_s };
    QTest::keyClick(grid, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(prompts.transcript(), QStringList { u"[Digite] A sua observação :"_s });
    EXPECT_EQ(stored(u"OBS"_s, u"P1"_s), u"urgente"_s);
    EXPECT_EQ(window.DBCtrlGrid1()->obsText(0), u"urgente"_s);
    EXPECT_FALSE(editor());

    prompts.clear();
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(prompts.transcript(), QStringList { u"[Atenção] Apagar o item selecionado da cotação?"_s });
    EXPECT_EQ(window.model()->rowCount(), 2);
    prompts.answers = { true };
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(window.model()->rowCount(), 1);
    EXPECT_EQ(store.rows(u"SELECT PRODUTO FROM CotacaoFornc"_s), QStringList { u"P2"_s });
}

// Typed text longer than its column is refused as it is typed: what the
// cell or the observation's box shows is what is stored.
TEST_F(PriceWindowTest, NoEditorTakesMoreThanItsColumnKeeps)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTableView *grid = window.dbgrd1();
    grid->setCurrentIndex(window.model()->index(0, 6));
    const QString typed = u"SACHS 6235 OU LUK 620 3133 00 ORIG"_s; // 34 characters
    type(typed);
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->maxLength(), 20);
    EXPECT_EQ(editor()->text(), typed.left(20));
    QTest::keyClick(editor(), Qt::Key_Return);
    settle();
    EXPECT_EQ(stored(u"SIMILARES"_s, u"P1"_s), typed.left(20));

    prompts.inputs = { QString(230, u'x') };
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].maxLength, 200);
    EXPECT_EQ(stored(u"OBS"_s, u"P1"_s), QString(200, u'x'));
}

// In the grid Tab moves between cells; Ctrl+Tab and Ctrl+Shift+Tab leave it
// for the controls around it, keeping what was typed.
TEST_F(PriceWindowTest, CtrlTabLeavesTheGrid)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTableView *grid = window.dbgrd1();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentIndex().column(), 6);
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid->currentIndex().column(), 5);

    type(u"8,75"_s);
    QTest::keyClick(editor(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.btn2());
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"8.75"_s);
    EXPECT_FALSE(editor());

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.edtBusca());
    QTest::keyClick(window.edtBusca(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// The panels show an application and an observation of the longest the
// store keeps whole: the current item's panel takes the room of both.
TEST_F(PriceWindowTest, ThePanelsShowLongTextsWhole)
{
    const QString aplicacao
        = u"GOL G3/G4/G5 1.0 8V 16V TOTAL FLEX 2000/2014 PARATI 1.6 1.8 AP 1996/2012 SAVEIRO "
          "G4 G5 1.6 2005/2016 VOYAGE 1.6 2009/2018 FOX CROSSFOX SPACEFOX 1.6 8V 2004/2020 "
          "POLO 1.6 2003/2014 GOLF"_s.left(200);
    const QString obs
        = u"ENTREGAR NA MATRIZ ATÉ SEXTA-FEIRA ANTES DAS 17H, EM EMBALAGEM ORIGINAL LACRADA E COM "
          "A NOTA FISCAL SEPARADA POR LOJA; NA FALTA DE ALGUM ITEM, INFORMAR O SIMILAR "
          "DISPONÍVEL E O PRAZO DE REPOSIÇÃO"_s.left(200);
    store.addItem(
        { .cotacao = u"C1"_s, .produto = u"P3"_s, .marca = u"ZZZ"_s, .obs = obs, .aplicacao = aplicacao });
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Down);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Down);
    ItemPanels *panels = window.DBCtrlGrid1();
    // The last item is current: the panels hold the one before it and it.
    ASSERT_EQ(panels->panelRow(1), 2);
    ASSERT_EQ(panels->aplicacaoText(1), aplicacao);

    EXPECT_EQ(panels->panel(1)->geometry(), QRect(0, 0, ItemPanels::PanelWidth, 2 * ItemPanels::PanelHeight));
    EXPECT_FALSE(panels->panel(0)->isVisible());
    for (QLabel *label : { panels->aplicacaoLabel(1), panels->obsLabel(1) }) {
        EXPECT_TRUE(label->text() == aplicacao || label->text() == obs) << label->text().toStdString();
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        EXPECT_LE(label->geometry().bottom(), panels->panel(1)->height());
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_GT(panels->obsLabel(1)->y(), panels->aplicacaoLabel(1)->geometry().bottom());

    // On a short item the two panels come back; the long texts of the next
    // one end in "…" on their lines and are whole in their tool tips.
    QTest::keyClick(window.dbgrd1(), Qt::Key_Up);
    ASSERT_EQ(panels->panelRow(0), 1);
    EXPECT_EQ(panels->panel(0)->geometry(), QRect(0, 0, ItemPanels::PanelWidth, ItemPanels::PanelHeight));
    EXPECT_EQ(panels->panel(1)->geometry(),
        QRect(0, ItemPanels::PanelHeight, ItemPanels::PanelWidth, ItemPanels::PanelHeight));
    EXPECT_TRUE(panels->panel(0)->isVisible());
    EXPECT_TRUE(panels->panel(1)->isVisible());
    EXPECT_TRUE(panels->aplicacaoLabel(1)->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(panels->aplicacaoLabel(1)->toolTip(), aplicacao);
    EXPECT_EQ(panels->obsLabel(1)->toolTip(), obs);
    EXPECT_EQ(panels->obsLabel(0)->text(), u"obs P2"_s);
    EXPECT_EQ(panels->obsLabel(0)->toolTip(), QString());
}

TEST_F(PriceWindowTest, APriceThatIsNotANumberHoldsItsCellWhateverTheWayOut)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTableView *grid = window.dbgrd1();
    const QPoint otherRow = grid->visualRect(window.model()->index(1, 2)).center();
    const auto key = [this](Qt::Key k) { return [this, k] { QTest::keyClick(editor(), k); }; };
    const auto click = [](QWidget *w, QPoint at = {}) {
        return [w, at] { QTest::mouseClick(w, Qt::LeftButton, {}, at); };
    };
    const std::pair<const char *, std::function<void()>> ways[] = {
        { "Tab", key(Qt::Key_Tab) },
        { "Ctrl+Tab", [this] { QTest::keyClick(editor(), Qt::Key_Tab, Qt::ControlModifier); } },
        { "Enter", key(Qt::Key_Return) },
        { "Down", key(Qt::Key_Down) },
        { "Page Down", key(Qt::Key_PageDown) },
        { "Page Up", key(Qt::Key_PageUp) },
        { "F2", key(Qt::Key_F2) },
        { "a click on another row", click(grid->viewport(), otherRow) },
        { "a click on the panels", click(window.DBCtrlGrid1()) },
        { "Pronto Para envio", click(window.btn2()) },
        { "Imprime Cotação", click(window.btn4()) },
        { "Cotações Baixadas", click(window.btn3()) },
        { "Saída", click(window.btn1()) },
        { "closing the window", [this] { window.close(); } },
    };
    prompts.answers = { true, true, true };
    for (const auto &[name, leave] : ways) {
        SCOPED_TRACE(name);
        prompts.clear();
        grid->setCurrentIndex(window.model()->index(0, 5));
        type(u"12.5"_s); // a point is no decimal separator under Brazilian settings
        leave();
        settle();
        EXPECT_EQ(prompts.transcript(), QStringList { u"[CotaKelvo] '12.5' não é um número válido."_s });
        ASSERT_TRUE(editor());
        EXPECT_EQ(editor()->text(), u"12.5"_s);
        EXPECT_EQ(grid->currentIndex().row(), 0);
        EXPECT_TRUE(window.isVisible());
        QTest::keyClick(editor(), Qt::Key_Escape);
        settle();
        EXPECT_FALSE(editor());
    }
    EXPECT_EQ(choosing, 1);
    EXPECT_EQ(store.status(u"C1"_s), u"Baixada"_s);
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"10.0"_s);
    EXPECT_EQ(window.lblCota()->text(), u"C1"_s);
}

TEST_F(PriceWindowTest, EnterInTheGridClicksNothingAndATypedPriceCountsWhenReady)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Return);
    QTest::keyClick(window.dbgrd1(), Qt::Key_Enter, Qt::KeypadModifier);
    settle();
    EXPECT_EQ(choosing, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());

    // The price typed last reaches the table before the question counts it.
    window.dbgrd1()->setCurrentIndex(window.model()->index(1, 5));
    type(u"12,5"_s);
    prompts.answers = { true };
    QTest::mouseClick(window.btn2(), Qt::LeftButton);
    EXPECT_EQ(prompts.transcript(),
        QStringList {
            u"[Atenção] Você colocou preços em : 2 produtos, e deixou sem preços : 0, tornando pronta "
            "para envio, não vai poder mais fazer alterações. Ok???"_s });
    EXPECT_EQ(stored(u"VALOR"_s, u"P2"_s), u"12.5"_s);
    EXPECT_EQ(store.status(u"C1"_s), u"Enviar"_s);
}

TEST_F(PriceWindowTest, PrintExportAndImportWorkOnTheItemsShown)
{
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    QTest::mouseClick(window.btn4(), Qt::LeftButton);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, u"preview"_s);
    EXPECT_EQ(prompts.shown[0].caption, u"Cotação Kelvo AutoPeças"_s);
    EXPECT_EQ(prompts.shown[0].pages, 1);

    // Exported with P1 at 10, priced again at 20 in the grid, imported back.
    const QString path = store.folder.file(u"CotacaoC1.xlsx"_s);
    prompts.clear();
    prompts.files = { path };
    QTest::mouseClick(window.btn5(), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(prompts.shown.size(), 1); // the save dialog, nothing else
    window.dbgrd1()->setCurrentIndex(window.model()->index(0, 5));
    type(u"20"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"20.0"_s);
    window.dbgrd1()->setCurrentIndex(window.model()->index(1, 5));
    type(u"7"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(window.lblPrecos()->text(), u"2 de 2 itens com preço"_s);

    prompts.clear();
    prompts.files = { path };
    QTest::mouseClick(window.btn6(), Qt::LeftButton);
    EXPECT_EQ(prompts.transcript(),
        (QStringList { u"[Abre Planilha Excel] "_s, u"[Atenção] Processo Finalizado..."_s }));
    EXPECT_EQ(stored(u"VALOR"_s, u"P1"_s), u"10.0"_s);
    EXPECT_EQ(window.model()->index(0, 5).data().toString(), u"10,00"_s);
    // The import emptied P2's price, as the file has it: the count follows.
    EXPECT_EQ(stored(u"VALOR"_s, u"P2"_s), u"~"_s);
    EXPECT_EQ(window.lblPrecos()->text(), u"1 de 2 itens com preço"_s);
}

// For a long quotation: the count of priced items follows every price
// typed, and the search box (Ctrl+F) moves the grid to the item.
TEST_F(PriceWindowTest, CountOfPricedItemsAndSearchByBrandOrDescription)
{
    EXPECT_EQ(window.lblPrecos()->text(), QString());
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    EXPECT_EQ(window.lblPrecos()->text(), u"1 de 2 itens com preço"_s);
    QTableView *grid = window.dbgrd1();
    grid->setCurrentIndex(window.model()->index(1, 5));
    type(u"5"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(window.lblPrecos()->text(), u"2 de 2 itens com preço"_s);
    grid->setCurrentIndex(window.model()->index(0, 5));
    type(u"0"_s);
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(window.lblPrecos()->text(), u"1 de 2 itens com preço"_s);

    // The controls of the window stay where they were; the new ones clear of them.
    EXPECT_EQ(window.btn1()->geometry(), QRect(910, 536, 100, 25));
    EXPECT_FALSE(window.lblPrecos()->geometry().intersects(window.btn7()->geometry()));
    EXPECT_FALSE(window.lblPrecos()->geometry().intersects(window.btn1()->geometry()));
    EXPECT_FALSE(window.lblPrecos()->geometry().intersects(window.lb1()->geometry()));
    EXPECT_FALSE(window.lblPrecos()->geometry().intersects(window.edtBusca()->geometry()));
    EXPECT_LE(window.lblPrecos()->fontMetrics().horizontalAdvance(u"120 de 350 itens com preço"_s),
        window.lblPrecos()->width());
    EXPECT_LE(window.edtBusca()->geometry().right(), window.width());

    // Ctrl+F from the grid; the search ignores accents and letter case and
    // starts at the current item.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window.edtBusca()->hasFocus());
    QTest::keyClicks(window.edtBusca(), u"bb"_s);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(store.dm.CotaFornec().current()->produto, u"P2"_s); // the panels follow
    window.edtBusca()->clear();
    QTest::keyClicks(window.edtBusca(), u"PECA"_s);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    // Enter goes on to the next match, round from the top; it presses nothing.
    QTest::keyClick(window.edtBusca(), Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    QTest::keyClick(window.edtBusca(), Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(window.edtBusca()->hasFocus());
    EXPECT_TRUE(window.edtBusca()->styleSheet().isEmpty());
    // A text no item holds leaves the grid where it is and says so.
    QTest::keyClicks(window.edtBusca(), u"x"_s);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_FALSE(window.edtBusca()->styleSheet().isEmpty());
    settle();
    EXPECT_EQ(choosing, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Tab reaches the box between "Cotações Baixadas" and the grid.
    window.btn3()->setFocus();
    QTest::keyClick(window.btn3(), Qt::Key_Tab);
    EXPECT_TRUE(window.edtBusca()->hasFocus());
    QTest::keyClick(window.edtBusca(), Qt::Key_Tab);
    EXPECT_TRUE(grid->hasFocus());
}

// A quotation chosen after its deadline is priced only after a warning: the
// server would refuse it when it is sent.
TEST_F(PriceWindowTest, APastDeadlineIsToldWhenTheQuotationIsChosen)
{
    clock.set(QDateTime(QDate(2020, 6, 5), QTime(14, 31)));
    QTest::mouseClick(window.btn3(), Qt::LeftButton);
    EXPECT_EQ(prompts.transcript(),
        QStringList { u"[Atenção] O prazo para responder a cotação : C1 venceu em 05/06/2020 às 14:30. Os "
                      "preços podem ser digitados, mas o Kelvo vai recusar o envio desta cotação."_s });
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Warning);
    EXPECT_EQ(window.lblCota()->text(), u"C1"_s);
    EXPECT_EQ(window.model()->rowCount(), 2);
}

TEST(QuotationWindows, ChooserOffersDownloadedQuotationsAndTellsHowItWasLeft)
{
    TestStore store;
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    store.addQuotation(u"C3"_s, u"ABERTA"_s);
    ReleasedQuotationSet &baixadas = store.dm.CotasBaixadas();
    baixadas.open();

    TCotaBaixada chooser(baixadas);
    QAbstractItemModelTester tester(
        chooser.dbgrd1()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    chooser.show();
    EXPECT_EQ(chooser.size(), QSize(645, 291));
    EXPECT_EQ(chooser.dbgrd1()->model()->rowCount(), 2);
    chooser.dbgrd1()->setCurrentIndex(chooser.dbgrd1()->model()->index(1, 0));
    ASSERT_NE(baixadas.current(), nullptr);
    EXPECT_EQ(baixadas.current()->cotacao, u"C2"_s);
    QTest::mouseClick(chooser.btn1(), Qt::LeftButton);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(chooser.okfil());

    TCotaBaixada again(baixadas);
    again.show();
    QTest::mouseClick(again.btn2(), Qt::LeftButton);
    EXPECT_FALSE(again.okfil());
}

// Enter on the list chooses its selected row as "Filtra e Sai" does; Escape
// and Alt+F4 give up as "Desiste" does.
TEST(QuotationWindows, TheChooserIsLeftWithTheKeys)
{
    TestStore store;
    store.addQuotation(u"C1"_s, u"Baixada"_s);
    store.addQuotation(u"C2"_s, u"Baixada"_s);
    ReleasedQuotationSet &baixadas = store.dm.CotasBaixadas();
    baixadas.open();

    const std::pair<QKeyCombination, bool> keys[] = {
        { Qt::Key_Return, true },
        { Qt::KeypadModifier | Qt::Key_Enter, true },
        { Qt::Key_Escape, false },
        { Qt::ALT | Qt::Key_F4, false },
    };
    for (const auto &[key, chosen] : keys) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        TCotaBaixada chooser(baixadas);
        chooser.show();
        QApplication::setActiveWindow(&chooser);
        ASSERT_TRUE(chooser.dbgrd1()->hasFocus());
        QTest::keyClick(chooser.dbgrd1(), Qt::Key_Down);
        QTest::keyClick(chooser.dbgrd1(), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(chooser.isVisible());
        EXPECT_EQ(chooser.okfil(), chosen);
        EXPECT_EQ(chooser.result(), chosen ? QDialog::Accepted : QDialog::Rejected);
        ASSERT_NE(baixadas.current(), nullptr);
        EXPECT_EQ(baixadas.current()->cotacao, u"C2"_s);
    }
}

// "Prazo" is read without scrolling, in the longest quotation numbers a
// column keeps and with the vertical scroll bar of a long list; the columns
// before it keep their widths.
TEST(QuotationWindows, TheDeadlineColumnIsSeenWithoutScrolling)
{
    TestStore store;
    for (int i = 0; i < 40; ++i) {
        const QString status = i % 3 == 0 ? u"ABERTA"_s : i % 3 == 1 ? u"Baixada"_s : u"Enviar"_s;
        store.addQuotation(u"2026%1/MATRIZ"_s.arg(i, 6, 10, QLatin1Char('0')), status);
    }
    ScriptedPrompts prompts;
    FakeNet net;
    ReleasedQuotationSet &baixadas = store.dm.CotasBaixadas();
    baixadas.open();
    TFCotaLib released(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    TCotaBaixada chooser(baixadas);
    TEnviaCotacao ready(prompts, store.dm, net, u"http://127.0.0.1:1"_s);

    const std::tuple<QDialog *, QTableView *, QList<int>> windows[] = {
        { &released, released.dbgrd1(), { 201, 109, 103, 86 } },
        { &chooser, chooser.dbgrd1(), { 138, 78, 89, 77, 79 } },
        { &ready, ready.dbgrd1(), { 180, 106, 157, 97, 121 } },
    };
    for (const auto &[window, grid, widths] : windows) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        QCoreApplication::processEvents();
        const QAbstractItemModel *model = grid->model();
        ASSERT_GT(model->rowCount(), 10);
        ASSERT_EQ(model->columnCount(), widths.size() + 1);
        for (int c = 0; c < widths.size(); ++c)
            EXPECT_EQ(grid->columnWidth(c), widths[c]) << c;
        const int prazo = int(widths.size());
        EXPECT_EQ(model->headerData(prazo, Qt::Horizontal).toString(), u"Prazo"_s);
        EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
        EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
        EXPECT_LE(grid->columnViewportPosition(prazo) + grid->columnWidth(prazo), grid->viewport()->width());
        EXPECT_FALSE(grid->horizontalHeader()->isSectionHidden(prazo));
        window->hide();
    }
}
