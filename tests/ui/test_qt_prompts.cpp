#include "ui/widgets/qt_prompts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

// Every question of the program is this box: Enter or Escape answers No.
TEST(QtPrompts, EveryQuestionDefaultsToNo)
{
    const auto box = questionBox(nullptr, QStringLiteral("Atenção"), QStringLiteral("Confirma???"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Atenção"));
    EXPECT_EQ(box->text(), QStringLiteral("Confirma???"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));

    box->show();
    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_EQ(box->clickedButton(), box->button(QMessageBox::No));
}
