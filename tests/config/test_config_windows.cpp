#include "config/credential_file.h"
#include "config/widgets/login_window.h"
#include "config/widgets/set_up_window.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Place {
    const char *name;
    QRect rect; // labels: only the top-left corner counts
};

void expectPlaces(const QWidget &window, std::initializer_list<Place> places)
{
    for (const Place &p : places) {
        const auto *w = window.findChild<QWidget *>(QLatin1String(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        if (qobject_cast<const QLabel *>(w))
            EXPECT_EQ(w->pos(), p.rect.topLeft()) << p.name;
        else
            EXPECT_EQ(w->geometry(), p.rect) << p.name;
    }
}

void hover(QWidget *w, bool enter)
{
    if (enter) {
        QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(w, &event);
    } else {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(w, &event);
    }
}

void expectBoldOnHover(QPushButton *button)
{
    EXPECT_FALSE(button->font().bold());
    hover(button, true);
    EXPECT_TRUE(button->font().bold()) << button->text().toStdString();
    hover(button, false);
    EXPECT_FALSE(button->font().bold()) << button->text().toStdString();
}

// Shown and made the active window at once, as the platform would.
bool showActive(QWidget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return window.isActiveWindow();
}

} // namespace

TEST(TFLogin, ControlsSitAtTheirPlacesWithTheirLooks)
{
    TFLogin w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Login - Servidor Kelvo"));
    EXPECT_EQ(w.size(), QSize(290, 143));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::CustomizeWindowHint);
    expectPlaces(w,
        { { "lbl1", { 28, 13, 0, 0 } }, { "lbl2", { 24, 48, 0, 0 } }, { "edt1", { 81, 10, 121, 27 } },
            { "edt2", { 81, 45, 121, 27 } }, { "btn1", { 104, 112, 81, 25 } },
            { "btn2", { 203, 112, 81, 25 } } });
    EXPECT_EQ(w.lbl1()->text(), QStringLiteral("Login :"));
    EXPECT_EQ(w.lbl2()->text(), QStringLiteral("Senha :"));
    EXPECT_EQ(w.btn1()->text(), QStringLiteral("Ok"));
    EXPECT_EQ(w.btn2()->text(), QStringLiteral("Cancela"));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(254, 240, 165));
    EXPECT_TRUE(w.autoFillBackground());
    EXPECT_EQ(w.edt1()->palette().color(QPalette::Base), QColor(225, 247, 138));
    EXPECT_EQ(w.edt2()->palette().color(QPalette::Base), QColor(225, 247, 138));
    EXPECT_EQ(w.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w.edt1()->font().pointSize(), 12);
    EXPECT_EQ(w.btn1()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w.btn2()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(w.lok());
}

TEST(TFLogin, FieldsTurnLettersToUpperCaseAndMaskThePassword)
{
    TFLogin w;
    ASSERT_TRUE(showActive(w));
    QTest::keyClicks(w.edt1(), QStringLiteral("forn 1"));
    EXPECT_EQ(w.edt1()->text(), QStringLiteral("FORN 1"));
    QTest::sendKeyEvent(QTest::Click, w.edt1(), Qt::Key_Eacute, QString::fromUtf16(u"é"), Qt::NoModifier);
    w.edt1()->insert(QString::fromUtf16(u"xyß")); // what a paste does
    EXPECT_EQ(w.edt1()->text(), QString::fromUtf16(u"FORN 1ÉXYß"));

    w.edt2()->setText(QStringLiteral("ab")); // prefilled by the main window
    QTest::keyClicks(w.edt2(), QStringLiteral("c"));
    EXPECT_EQ(w.edt2()->text(), QStringLiteral("ABC"));
    EXPECT_EQ(w.edt2()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.edt2()->displayText(), QStringLiteral("***"));
}

TEST(TFLogin, EnterMovesTheFocusAlongTheTabOrder)
{
    TFLogin w;
    ASSERT_TRUE(showActive(w));
    w.edt1()->setFocus();
    ASSERT_TRUE(w.edt1()->hasFocus());
    QTest::keyClick(w.edt1(), Qt::Key_Return);
    EXPECT_TRUE(w.edt2()->hasFocus());
    QTest::keyClick(w.edt2(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(w.btn1()->hasFocus());
    // On the buttons too Enter moves on and presses nothing.
    QTest::keyClick(w.btn1(), Qt::Key_Return);
    EXPECT_TRUE(w.btn2()->hasFocus());
    QTest::keyClick(w.btn2(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(w.edt1()->hasFocus());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.lok());
}

TEST(TFLogin, OkConfirmsCancelaDoesNotAndNothingElseCloses)
{
    {
        TFLogin w;
        ASSERT_TRUE(showActive(w));
        QTest::keyClick(&w, Qt::Key_Escape);
        w.close();
        EXPECT_TRUE(w.isVisible());
        QTest::mouseClick(w.btn1(), Qt::LeftButton);
        EXPECT_TRUE(w.lok());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    {
        TFLogin w;
        w.show();
        w.edt1()->setText(QStringLiteral("USER"));
        QTest::mouseClick(w.btn2(), Qt::LeftButton);
        EXPECT_FALSE(w.lok());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.edt1()->text(), QStringLiteral("USER"));
    }
}

TEST(TFLogin, ButtonsTurnBoldUnderThePointer)
{
    TFLogin w;
    w.show();
    expectBoldOnHover(w.btn1());
    expectBoldOnHover(w.btn2());
    EXPECT_EQ(w.btn1()->font().pointSize(), 12);
}

TEST(TSetUP, ControlsSitAtTheirPlacesWithTheirLooks)
{
    TempFolder dir;
    ScriptedPrompts prompts;
    Settings settings;
    TSetUP w(prompts, dir.path(), settings);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Set User / Password"));
    EXPECT_EQ(w.size(), QSize(246, 125));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    expectPlaces(w,
        { { "lb1", { 8, 18, 0, 0 } }, { "lb2", { 15, 48, 0, 0 } }, { "eduser", { 66, 15, 121, 24 } },
            { "edpass", { 66, 45, 121, 24 } }, { "btn1", { 163, 96, 75, 25 } },
            { "btn2", { 78, 96, 75, 25 } } });
    EXPECT_EQ(w.lb1()->text(), QStringLiteral("Usuario :"));
    EXPECT_EQ(w.btn1()->text(), QStringLiteral("Grava"));
    EXPECT_EQ(w.btn2()->text(), QStringLiteral("Desiste"));
    EXPECT_EQ(w.eduser()->placeholderText(), QString::fromUtf16(u"Usuário"));
    EXPECT_EQ(w.edpass()->placeholderText(), QStringLiteral("Senha"));
    EXPECT_EQ(w.edpass()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(w.eduser()->font().pointSize(), 10);
    EXPECT_TRUE(w.eduser()->text().isEmpty());
    EXPECT_EQ(w.btn1()->cursor().shape(), Qt::PointingHandCursor);
    w.show();
    expectBoldOnHover(w.btn1());
    expectBoldOnHover(w.btn2());
}

TEST(TSetUP, GravaStoresWhatWasTypedInUpperCase)
{
    TempFolder dir;
    ScriptedPrompts prompts;
    Settings settings;
    TSetUP w(prompts, dir.path(), settings);
    ASSERT_TRUE(showActive(w));
    w.eduser()->setFocus();
    QTest::keyClicks(w.eduser(), QStringLiteral("ab"));
    QTest::keyClick(w.eduser(), Qt::Key_Return);
    ASSERT_TRUE(w.edpass()->hasFocus());
    QTest::keyClicks(w.edpass(), QStringLiteral("se nha"));
    QTest::keyClick(w.edpass(), Qt::Key_Return);
    EXPECT_TRUE(w.btn1()->hasFocus());
    EXPECT_EQ(w.edpass()->text(), QStringLiteral("SE NHA"));
    QTest::keyClick(w.btn1(), Qt::Key_Return); // moves on, saves nothing
    EXPECT_TRUE(w.btn2()->hasFocus());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());

    QTest::mouseClick(w.btn1(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(settings.usuario, QStringLiteral("AB"));
    EXPECT_EQ(settings.senha, QStringLiteral("SE NHA"));
    EXPECT_EQ(dir.read(QStringLiteral("userkelvo.new")).indexOf('\r'), 6);
    EXPECT_EQ(readCredentials(dir.path()).usuario, QStringLiteral("AB"));
}

TEST(TSetUP, BlankFieldKeepsTheWindowOpenAndDesisteWritesNothing)
{
    TempFolder dir;
    ScriptedPrompts prompts;
    Settings settings { {}, QStringLiteral("OLD"), QStringLiteral("PW") };
    TSetUP w(prompts, dir.path(), settings);
    w.show();
    w.eduser()->setText(QStringLiteral("NEW"));
    w.edpass()->setText(QStringLiteral("   "));
    QTest::mouseClick(w.btn1(), Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompts.boxes(),
        QStringList { QString::fromUtf16(u"[Atenção] Nem usuário, nem senha pode está em branco....") });

    w.edpass()->setText(QStringLiteral("PW2"));
    QTest::mouseClick(w.btn2(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("userkelvo.new"))));
    EXPECT_EQ(settings.usuario, QStringLiteral("OLD"));
    EXPECT_EQ(settings.senha, QStringLiteral("PW"));
}
