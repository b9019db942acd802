#include "common/clock.h"
#include "quotations/widgets/submission_window.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct WindowFixture {
    WindowFixture()
    {
        Clock::setCurrent(&clock);
        store.addQuotation(u"B2"_s, u"Enviar"_s);
        store.addQuotation(u"A1"_s, u"Enviar"_s);
        store.addQuotation(u"C3"_s, u"Baixada"_s);
        store.addItem({ u"A1"_s, u"P1"_s, u"X"_s, 1, 2, {}, {} });
        store.addItem({ u"B2"_s, u"P2"_s, u"X"_s, 1, 2, {}, {} });
        store.addItem({ u"B2"_s, u"P3"_s, u"Y"_s, 1, 2, {}, {} });
        window = std::make_unique<TEnviaCotacao>(prompts, store.dm, net, u"http://127.0.0.1:1"_s);
    }
    ~WindowFixture()
    {
        window.reset();
        Clock::setCurrent(nullptr);
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(23, 59, 55)) };
    TestStore store;
    ScriptedPrompts prompts;
    FakeNet net;
    std::unique_ptr<TEnviaCotacao> window;
};

} // namespace

TEST(SubmissionWindow, LayoutGridAndTitles)
{
    WindowFixture f;
    TEnviaCotacao &w = *f.window;
    EXPECT_EQ(w.windowTitle(), u"Contações Prontas para envia-las a Kelvo Autopeças"_s);
    // Wider than specified by the column "Prazo", read without scrolling.
    const int prazo = w.dbgrd1()->columnWidth(5);
    EXPECT_GT(prazo, w.fontMetrics().horizontalAdvance(u"vencida"_s));
    EXPECT_EQ(w.size(), QSize(730 + prazo, 281));
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(w.font().pixelSize(), 16);
    EXPECT_EQ(w.lbl1()->text(), u"Cotações Prontas"_s);
    EXPECT_EQ(w.lbl1()->pos(), QPoint(8, 8));
    EXPECT_EQ(w.dbgrd1()->geometry(), QRect(8, 32, 713 + prazo, 208));
    EXPECT_EQ(w.btn1()->geometry(), QRect(8, 248, 161, 25));
    EXPECT_EQ(w.btn1()->text(), u"Envia-las Agora?"_s);
    EXPECT_EQ(w.btn2()->geometry(), QRect(632 + prazo, 246, 88, 25));
    EXPECT_EQ(w.btn2()->text(), u"Saída"_s);
    EXPECT_EQ(w.lbl2()->pos(), QPoint(180, 249));
    EXPECT_TRUE(w.lbl2()->font().bold());

    w.FormShow();
    const QAbstractItemModel *model = w.dbgrd1()->model();
    const QStringList titles { u"Cotação"_s, u"Status"_s, u"Deve Entregar em"_s, u"Até Hora"_s,
        u"DataLiberada"_s };
    const int widths[] = { 180, 106, 157, 97, 121 };
    ASSERT_EQ(model->columnCount(), 6); // "Prazo" after the five
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(w.dbgrd1()->horizontalHeader()->sectionSize(c), widths[c]);
    }
    EXPECT_GT(w.dbgrd1()->horizontalHeader()->height(), 10); // the titles keep their line
    ASSERT_EQ(model->rowCount(), 2);
    const QStringList firstRow { u"A1"_s, u"Enviar"_s, u"05/06/2020"_s, u"14:30"_s, u"01/06/2020"_s };
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(model->index(0, c).data().toString(), firstRow[c]);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
}

TEST(SubmissionWindow, DateLabelShowsOnGridFocusAndFollowsTheTimer)
{
    WindowFixture f;
    TEnviaCotacao &w = *f.window;
    w.FormShow();
    EXPECT_TRUE(w.lbl2()->isHidden());
    EXPECT_FALSE(w.tmr1()->isActive());
    EXPECT_EQ(w.lbl2()->text(), u"Data atual : 26/06/2020"_s);

    w.show();
    QApplication::setActiveWindow(&w);
    EXPECT_TRUE(w.dbgrd1()->hasFocus());
    EXPECT_TRUE(w.lbl2()->isVisible());
    EXPECT_TRUE(w.tmr1()->isActive());
    EXPECT_EQ(w.tmr1()->interval(), 10000);

    // Ten seconds later, past midnight: what the timer's tick does.
    f.clock.set(QDateTime(QDate(2020, 6, 27), QTime(0, 0, 5)));
    ASSERT_TRUE(QMetaObject::invokeMethod(w.tmr1(), "timeout"));
    EXPECT_EQ(w.lbl2()->text(), u"Data atual : 27/06/2020"_s);
}

TEST(SubmissionWindow, SelectionSendButtonAndClose)
{
    WindowFixture f;
    TEnviaCotacao &w = *f.window;
    w.show();
    const QuotationItemSet &items = f.store.dm.CotaFornec();
    EXPECT_EQ(items.rowCount(), 1);

    w.dbgrd1()->selectRow(1);
    EXPECT_EQ(w.workflow().selectedCotacao(), u"B2"_s);
    EXPECT_EQ(items.rowCount(), 2);

    f.prompts.answers = { false };
    QTest::mouseClick(w.btn1(), Qt::LeftButton);
    EXPECT_EQ(f.prompts.transcript(),
        QStringList { u"[Atenção] Confirme o envio desta cotação para o Kelvo Autopeças ????"_s });

    QTest::keyClick(w.dbgrd1(), Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(w.btn2(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.tmr1()->isActive());
    Table &list = f.store.dm.CotaLiberada();
    EXPECT_FALSE(list.isOpen());
    EXPECT_FALSE(list.isFiltered());
    EXPECT_TRUE(list.filter().isEmpty());
}
