#include "ui/widgets/qt_prompts.h"

#include <QInputDialog>
#include <QLineEdit>
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

// The input box takes no more characters than the text is stored in.
TEST(QtPrompts, TheInputBoxTakesNoMoreThanItsColumn)
{
    const auto box
        = inputBox(nullptr, QStringLiteral("Digite"), QStringLiteral("A sua observação :"), {}, 200);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Digite"));
    EXPECT_EQ(box->labelText(), QStringLiteral("A sua observação :"));
    auto *line = box->findChild<QLineEdit *>();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->maxLength(), 200);
    box->show();
    line->setFocus();
    QTest::keyClicks(line, QString(230, QLatin1Char('x')));
    EXPECT_EQ(box->textValue(), QString(200, QLatin1Char('x')));

    const auto free = inputBox(nullptr, QStringLiteral("Digite"), QString(), QString(), 0);
    EXPECT_EQ(free->findChild<QLineEdit *>()->maxLength(), 32767);
}
