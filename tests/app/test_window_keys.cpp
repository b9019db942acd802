#include "app/app_context.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "config/widgets/login_window.h"
#include "quotations/quotation_report.h"
#include "quotations/widgets/downloaded_chooser.h"
#include "report/widgets/report_preview.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "ui/widgets/msg_window.h"
#include "ui/widgets/qt_prompts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// Opens nothing: a click that got through is counted, never shown.
class CountingLauncher final : public WindowLauncher {
public:
    int calls = 0;
    LoginAnswer runLogin(QWidget *, const QString &, const QString &) override
    {
        ++calls;
        return {};
    }
    bool has(const QString &) const override { return true; }
    bool open(const QString &, QWidget *, const Login *) override
    {
        ++calls;
        return true;
    }
};

// A program folder with a store holding a quotation in each status, with
// items, so that every grid has rows to press Enter on.
class ProgramFolder {
public:
    ProgramFolder()
        : app(dir.path(), &net)
    {
        net.connected = false;
        dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
        createDatabase(dir.file(databaseFileName()));
        if (!app.start(prompts) || !app.storeOpen())
            throw std::runtime_error("the program folder did not start");
        for (const char *status : { "ABERTA", "Baixada", "Enviar", "Enviada" }) {
            const QString cotacao = QStringLiteral("C-") + QLatin1String(status);
            exec(QStringLiteral("INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora, "
                                "DataLiberada) VALUES (?, ?, '2020-06-05', '14:30:00', '2020-06-01')"),
                { cotacao, QLatin1String(status) });
            exec(QStringLiteral("INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, QTDE) "
                                "VALUES ('ACME', ?, '2020-06-01', 'P1', 'BOSCH', 2)"),
                { cotacao });
        }
        prompts.clear();
    }

    void exec(const QString &sql, const QVariantList &values)
    {
        Statement st(app.dm().Banco(), sql);
        st.bindAll(values);
        app.dm().Banco().executeTracked(st);
    }

    TempFolder dir;
    ScriptedPrompts prompts;
    FakeNet net; // offline: no click may reach the server
    AppContext app;
};

// What the keys do in one window: the controls Tab visits, in order from
// the first (a control is named by its object name, a button without one
// by its caption); whether Escape and Alt+F4 close it; whether Enter presses
// the button with the focus (the login and set-up windows keep it for
// moving on); the controls on which Enter presses a button of the window.
struct KeyRoad {
    QStringList tabs;
    bool escapeCloses = false;
    bool altF4Closes = true;
    bool enterPresses = true;
    QHash<QString, QString> enterChooses = {};
};

QString controlName(const QWidget *w)
{
    if (!w)
        return QStringLiteral("(nothing)");
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    return QString::fromLatin1(w->metaObject()->className());
}

bool pushOrToolButton(const QWidget *w)
{
    return qobject_cast<const QPushButton *>(w) || qobject_cast<const QToolButton *>(w);
}

// A grid that keeps Tab for its cells is left with Ctrl+Tab.
void tabOn(QWidget *focus, bool forward)
{
    const auto *grid = qobject_cast<const QAbstractItemView *>(focus);
    const Qt::KeyboardModifiers ctrl
        = grid && grid->tabKeyNavigation() ? Qt::ControlModifier : Qt::NoModifier;
    QTest::keyClick(focus, Qt::Key_Tab, ctrl | (forward ? Qt::NoModifier : Qt::ShiftModifier));
}

// The controls the focus visits, from the one it is on, with n keys; a
// control that takes several Tabs for its own parts (a date's day, month
// and year) counts once.
QStringList walk(int n, bool forward)
{
    QStringList visited;
    for (int i = 0; i < n; ++i) {
        const QWidget *from = QApplication::focusWidget();
        for (int parts = 0; parts < 4 && QApplication::focusWidget() == from; ++parts)
            tabOn(QApplication::focusWidget(), forward);
        visited << controlName(QApplication::focusWidget());
    }
    return visited;
}

QWidget *control(QWidget *window, const QString &name)
{
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (controlName(w) == name && w->isVisible())
            return w;
    }
    return nullptr;
}

void show(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
}

// The window's keyboard road: no push button is a default button; Tab and
// Shift+Tab go round the controls in the order given (read-only grids let
// Tab go on); Enter and Space press the focused button, once; Enter on any
// other control presses nothing, shows nothing and leaves the window open;
// Escape and Alt+F4 close it or not, as told.
void expectKeyRoad(QWidget *window, ScriptedPrompts &prompts, const KeyRoad &road)
{
    show(window);
    prompts.clear();

    // Clicks are counted, not acted on.
    QHash<const QAbstractButton *, int> clicks;
    const auto buttons = window->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (auto *push = qobject_cast<QPushButton *>(button)) {
            EXPECT_FALSE(push->isDefault()) << push->objectName().toStdString();
            EXPECT_FALSE(push->autoDefault()) << push->objectName().toStdString();
        }
        QObject::disconnect(button, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(button, &QAbstractButton::clicked, button, [&clicks, button] { ++clicks[button]; });
    }
    const auto clicked = [&] {
        QStringList names;
        for (auto it = clicks.cbegin(); it != clicks.cend(); ++it) {
            if (it.value() > 0)
                names << controlName(it.key()) + QStringLiteral(" x%1").arg(it.value());
        }
        clicks.clear();
        return names;
    };

    QWidget *first = control(window, road.tabs.value(0));
    ASSERT_TRUE(first) << road.tabs.value(0).toStdString();
    first->setFocus(Qt::OtherFocusReason);
    const qsizetype n = road.tabs.size();
    EXPECT_EQ(walk(int(n), true), road.tabs.mid(1) + road.tabs.mid(0, 1)) << "Tab";
    QStringList back = road.tabs;
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(walk(int(n), false), back) << "Shift+Tab";
    EXPECT_TRUE(clicked().isEmpty());

    QList<QWidget *> controls;
    const auto grids = window->findChildren<QAbstractItemView *>();
    for (QAbstractItemView *grid : grids) {
        if (grid->model() && grid->model()->rowCount() > 0)
            grid->setCurrentIndex(grid->model()->index(0, 0));
    }
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            controls << w;
    }
    for (QWidget *c : std::as_const(controls)) {
        const QString name = controlName(c);
        c->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(c, Qt::Key_Return);
        QTest::keyClick(c, Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        QStringList want;
        if (pushOrToolButton(c) && road.enterPresses)
            want << name + QStringLiteral(" x2");
        else if (road.enterChooses.contains(name))
            want << road.enterChooses.value(name) + QStringLiteral(" x2");
        EXPECT_EQ(clicked(), want) << "Enter on " << name.toStdString() << " ("
                                   << c->metaObject()->className() << ")";
        if (pushOrToolButton(c)) {
            c->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(c, Qt::Key_Space);
            EXPECT_EQ(clicked(), QStringList { name + QStringLiteral(" x1") })
                << "Space on " << name.toStdString();
        }
        ASSERT_TRUE(window->isVisible()) << "Enter on " << name.toStdString() << " closed the window";
    }
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.transcript().join(QLatin1Char('\n')).toStdString();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(!window->isVisible(), road.escapeCloses) << "Escape";
    if (!window->isVisible())
        show(window);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(!window->isVisible(), road.altF4Closes) << "Alt+F4";
    window->hide();
}

} // namespace

// Windows added to the launcher must be added here.
TEST(WindowKeys, EveryWorkingWindowCanBeWorkedWithTheKeyboardAlone)
{
    const QHash<QString, KeyRoad> roads {
        { QStringLiteral("TFCotaLib"),
            { { QStringLiteral("dbgrd1"), QStringLiteral("btn1"), QStringLiteral("btn2"),
                  QStringLiteral("btn3") },
                false, false } },
        { QStringLiteral("TPrecoCota"),
            { { QStringLiteral("btn3"), QStringLiteral("edtBusca"), QStringLiteral("dbgrd1"),
                QStringLiteral("btn2"), QStringLiteral("btn4"), QStringLiteral("btn5"),
                QStringLiteral("btn6"), QStringLiteral("btn7"), QStringLiteral("btnTabela"),
                QStringLiteral("btnPrecosTabela"), QStringLiteral("btnHistorico"),
                QStringLiteral("btn1") } } },
        { QStringLiteral("TEnviaCotacao"),
            { { QStringLiteral("dbgrd1"), QStringLiteral("btn1"), QStringLiteral("btn2") } } },
        { QStringLiteral("TApagaDados"),
            { { QStringLiteral("data"), QStringLiteral("SpeedButton1"), QStringLiteral("Button3"),
                QStringLiteral("Button2"), QStringLiteral("Button5"), QStringLiteral("Button4"),
                QStringLiteral("btnRestaura"), QStringLiteral("DBGrid1"), QStringLiteral("DBGrid2"),
                QStringLiteral("DBGrid3"), QStringLiteral("DBGrid4"), QStringLiteral("Button1") } } },
        { QStringLiteral("TCotasRespEnv"),
            { { QStringLiteral("dbgrd1"), QStringLiteral("dbgrd2"), QStringLiteral("btn1") } } },
        { QStringLiteral("TPedLib"),
            { { QStringLiteral("dbgrd1"), QStringLiteral("btn1"), QStringLiteral("btn2"),
                QStringLiteral("btn3") } } },
        { QStringLiteral("TPedidosBaixados"),
            { { QStringLiteral("dbgrd1"), QStringLiteral("Baixados"), QStringLiteral("dbedtCONTATO"),
                QStringLiteral("dbgrd2"), QStringLiteral("dbedtAPLICACAO"), QStringLiteral("dbedtOBS"),
                QStringLiteral("dbedtCONDPGTO"), QStringLiteral("btnimp"), QStringLiteral("btnlojas"),
                QStringLiteral("btnsai") } } },
        { QStringLiteral("TSetUP"),
            { { QStringLiteral("eduser"), QStringLiteral("edpass"), QStringLiteral("btn1"),
                  QStringLiteral("btn2") },
                true, true, false } },
    };
    ProgramFolder program;
    AppLauncher launcher(program.app, program.prompts);
    const Login login { QStringLiteral("DEMO"), QStringLiteral("DEMO123") };
    ASSERT_FALSE(AppLauncher::windowClasses().isEmpty());
    for (const QString &windowClass : AppLauncher::windowClasses()) {
        SCOPED_TRACE(windowClass.toStdString());
        ASSERT_TRUE(roads.contains(windowClass));
        const std::unique_ptr<QDialog> window = launcher.create(windowClass, nullptr, &login);
        ASSERT_TRUE(window);
        expectKeyRoad(window.get(), program.prompts, roads.value(windowClass));
    }
}

TEST(WindowKeys, AndTheWindowsAroundThem)
{
    ProgramFolder program;
    TDm &dm = program.app.dm();
    CountingLauncher counting;
    MainWorkflow mainFlow(program.prompts, program.app.net(), program.app.settings());
    Query &baixadas = dm.CotasBaixadas();
    baixadas.setParam(QStringLiteral("Status"), QStringLiteral("Baixada"));
    baixadas.open();
    dm.CotaFornec().open();
    ReportPreparation report = quotationReport(dm);

    struct Window {
        const char *name;
        std::function<std::unique_ptr<QWidget>()> make;
        KeyRoad road;
    };
    const Window windows[] = {
        { "TFKelvoCota",
            [&] {
                return std::make_unique<TFKelvoCota>(
                    program.prompts, mainFlow, program.app.settings(), counting);
            },
            { { QStringLiteral("btn1"), QStringLiteral("btn3"), QStringLiteral("btn6"),
                QStringLiteral("sbDel"), QStringLiteral("btn2"), QStringLiteral("btn5"),
                QStringLiteral("btn7"), QStringLiteral("btn8"), QStringLiteral("btn4"),
                QStringLiteral("btn9") } } },
        { "TFLogin", [] { return std::make_unique<TFLogin>(); },
            { { QStringLiteral("edt1"), QStringLiteral("edt2"), QStringLiteral("btn1"),
                  QStringLiteral("btn2") },
                false, false, false } },
        { "TMsg", [] { return std::make_unique<TMsg>(); },
            { { QStringLiteral("lstmsg"), QStringLiteral("btn1") }, false, false } },
        { "TCotaBaixada", [&] { return std::make_unique<TCotaBaixada>(baixadas); },
            { { QStringLiteral("dbgrd1"), QStringLiteral("btn1"), QStringLiteral("btn2") }, true, true, true,
                { { QStringLiteral("dbgrd1"), QStringLiteral("btn1") } } } },
        { "ReportPreview", [&] { return previewWindow(report, PreviewServices {}, nullptr); },
            // One page: the page buttons are disabled; the three zoom buttons
            // are one stop, the arrow keys move between them.
            { { QStringLiteral("QSpinBox"), QStringLiteral("Página inteira"), QStringLiteral("Imprimir"),
                  QStringLiteral("Salvar"), QStringLiteral("Fechar"), QStringLiteral("QScrollArea") },
                true } },
    };
    for (const Window &w : windows) {
        SCOPED_TRACE(w.name);
        const std::unique_ptr<QWidget> window = w.make();
        expectKeyRoad(window.get(), program.prompts, w.road);
    }
    EXPECT_EQ(counting.calls, 0);
}
