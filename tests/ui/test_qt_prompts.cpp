#include "ui/widgets/choice_dialog.h"
#include "ui/widgets/qt_prompts.h"

#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

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

// The list of a choice: the first row selected, Enter or a double click
// chooses the current row, Escape nothing; no button is a default one.
TEST(QtPrompts, AChoiceIsMadeInTheListAndEscapeChoosesNothing)
{
    const QStringList columns { QStringLiteral("Data"), QStringLiteral("Arquivo") };
    const QList<QStringList> rows { { QStringLiteral("06/06/2020"), QStringLiteral("b.bak") },
        { QStringLiteral("05/06/2020"), QStringLiteral("a.bak") } };
    const auto choose = [&](const std::function<void(ChoiceDialog &)> &act) {
        ChoiceDialog dialog(
            nullptr, QStringLiteral("Restaurar cópia"), QStringLiteral("Escolha:"), columns, rows);
        dialog.show();
        act(dialog);
        return dialog.chosenRow();
    };

    EXPECT_EQ(choose([](ChoiceDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Restaurar cópia"));
        EXPECT_EQ(d.table()->rowCount(), 2);
        EXPECT_EQ(d.table()->horizontalHeaderItem(1)->text(), QStringLiteral("Arquivo"));
        EXPECT_EQ(d.table()->item(1, 1)->text(), QStringLiteral("a.bak"));
        EXPECT_FALSE(d.okButton()->autoDefault() || d.okButton()->isDefault());
        EXPECT_FALSE(d.cancelButton()->autoDefault() || d.cancelButton()->isDefault());
        QTest::keyClick(d.table(), Qt::Key_Down);
        QTest::keyClick(d.table(), Qt::Key_Return);
    }),
        1);
    EXPECT_EQ(choose([](ChoiceDialog &d) { QTest::keyClick(d.table(), Qt::Key_Escape); }), -1);
    EXPECT_EQ(choose([](ChoiceDialog &d) { QTest::mouseClick(d.okButton(), Qt::LeftButton); }), 0);
    EXPECT_EQ(choose([](ChoiceDialog &d) {
        QTest::keyClick(d.table(), Qt::Key_Down);
        QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
    }),
        -1);
    // Enter presses the focused button, as Space does.
    EXPECT_EQ(choose([](ChoiceDialog &d) {
        d.cancelButton()->setFocus();
        QTest::keyClick(d.cancelButton(), Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    }),
        -1);
    EXPECT_EQ(choose([](ChoiceDialog &d) {
        QTest::keyClick(d.table(), Qt::Key_Down);
        d.okButton()->setFocus();
        QTest::keyClick(d.okButton(), Qt::Key_Space);
    }),
        1);
}
