#include "ui/widgets/msg_window.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(TMsg, LayoutAndClosingButton)
{
    TMsgLog log(nullptr);
    TMsg *w = log.window();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Mensagens"));
    EXPECT_EQ(w->size(), QSize(309, 265));
    EXPECT_EQ(w->btn1()->text(), QStringLiteral("Fechar...."));
    EXPECT_EQ(w->btn1()->geometry(), QRect(0, 240, 309, 25));
    EXPECT_TRUE(w->lstmsg()->font().bold());
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowCloseButtonHint));

    log.addLine(QStringLiteral("Internet - ok"));
    log.addLine(QStringLiteral("Servidor do kelvo - ok "));
    EXPECT_EQ(log.lines(),
        (QStringList { QStringLiteral("Internet - ok"), QStringLiteral("Servidor do kelvo - ok ") }));

    // Modal until "Fechar...." is pressed; Escape does not close it.
    w->open();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isModal());
    QTest::keyClick(w->lstmsg(), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    QTest::mouseClick(w->btn1(), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}
