#include "ui/widgets/choice_dialog.h"
#include "ui/widgets/qt_prompts.h"

#include <QHeaderView>
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
    // Enter on a button clicks nothing: only Space does.
    EXPECT_EQ(choose([](ChoiceDialog &d) {
        d.cancelButton()->setFocus();
        QTest::keyClick(d.cancelButton(), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(d.cancelButton(), Qt::Key_Space);
    }),
        -1);
}
