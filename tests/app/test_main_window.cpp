#include "app/app_context.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "app/widgets/window_launcher.h"
#include "common/clock.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class FakeLauncher final : public WindowLauncher {
public:
    LoginAnswer answer;
    QString prefillUser, prefillPass;
    QStringList opened;
    QList<Login> logins;
    QStringList built { QStringLiteral("TFCotaLib"), QStringLiteral("TPrecoCota"),
        QStringLiteral("TEnviaCotacao"), QStringLiteral("TPedLib"), QStringLiteral("TPedidosBaixados"),
        QStringLiteral("TCotasRespEnv"), QStringLiteral("TApagaDados"), QStringLiteral("TSetUP") };
    int loginsAsked = 0;
    LoginAnswer runLogin(QWidget *, const QString &usuario, const QString &senha) override
    {
        ++loginsAsked;
        prefillUser = usuario;
        prefillPass = senha;
        return answer;
    }
    bool has(const QString &windowClass) const override { return built.contains(windowClass); }
    bool open(const QString &windowClass, QWidget *, const Login *login) override
    {
        opened << windowClass;
        if (login)
            logins << *login;
        return true;
    }
};

struct MainFixture : ::testing::Test {
    ScriptedPrompts prompts;
    FakeNet net;
    FakeLauncher launcher;
    Settings settings { QStringLiteral("http://compras.example.com.br "), QStringLiteral("FORNEC1"),
        QStringLiteral("SEGREDO") };
    MainWorkflow workflow { prompts, net, settings };
    TFKelvoCota window { prompts, workflow, settings, launcher };
};

void hover(QWidget *w, QEvent::Type type)
{
    QEvent e(type);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(MainFixture, ShowWritesUserAndStatus)
{
    window.show();
    EXPECT_EQ(window.lbfornec()->text(), QStringLiteral("Fornec.: FORNEC1"));
    // The server is tried without holding the window.
    EXPECT_EQ(window.lbServidor()->text(), QStringLiteral("Verificando…"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !workflow.internetCheckRunning(); }));
    EXPECT_EQ(window.lbServidor()->text(), QStringLiteral("Conectado a http://compras.example.com.br "));
    EXPECT_FALSE(workflow.internetCheckRunning());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(window.size(), QSize(798, 123));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Cotação Kelvo - Interface Fornecdor : Ver. 2020.1"));
    EXPECT_EQ(window.button(QStringLiteral("btn5"))->geometry(), QRect(314, 8, 49, 44));
}

TEST_F(MainFixture, NoInternetShowsStatusOnlyAndServerDownOneBox)
{
    net.connected = false;
    window.show();
    EXPECT_EQ(window.lbServidor()->text(), QStringLiteral("Problemas com a sua Internet"));
    EXPECT_FALSE(workflow.internetCheckRunning());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(net.serverChecks, 0);

    net.connected = true;
    net.problem = serverProblemText();
    // The status line is written before the server's box shows.
    QString lineAtBox;
    prompts.onShown = [&](const ScriptedPrompts::Shown &) { lineAtBox = window.lbServidor()->text(); };
    QTest::mouseClick(window.btn9(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.isEmpty(); }));
    EXPECT_EQ(lineAtBox, QStringLiteral("Conectado a http://compras.example.com.br "));
    EXPECT_EQ(window.lbServidor()->text(), QStringLiteral("Conectado a http://compras.example.com.br "));
    EXPECT_EQ(prompts.boxes(),
        QStringList { QStringLiteral("[Atenção] O servidor da Kelvo está com problemas...") });
}

// A server that never answers: the window goes on handling the supplier's
// events while it is tried, and the check ends as one that failed once its
// time is up (here shortened from 10 s).
TEST_F(MainFixture, SilentServerLeavesTheWindowResponsiveUntilItsTimeOut)
{
    net.silentServer = std::chrono::milliseconds(300);
    window.show();
    EXPECT_TRUE(workflow.internetCheckRunning());

    // A click while the server is tried opens its window.
    QString lineWhileChecking;
    QTimer::singleShot(50, &window, [&] {
        lineWhileChecking = window.lbServidor()->text();
        QTest::mouseClick(window.button(QStringLiteral("btn5")), Qt::LeftButton);
    });
    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.isEmpty(); }, 5000));
    EXPECT_GE(waited.elapsed(), 250);
    EXPECT_EQ(lineWhileChecking, QStringLiteral("Verificando…"));
    EXPECT_EQ(launcher.opened, QStringList { QStringLiteral("TPedidosBaixados") });
    EXPECT_EQ(window.lbServidor()->text(), QStringLiteral("Conectado a http://compras.example.com.br "));
    EXPECT_EQ(prompts.boxes(),
        QStringList { QStringLiteral("[Atenção] O servidor da Kelvo está com problemas...") });
    EXPECT_EQ(net.serverChecks, 1);
    EXPECT_FALSE(workflow.internetCheckRunning());
}

// Closing the program while the server is tried neither waits for it nor
// reaches the window that is gone.
TEST(MainWindowClosing, WhileTheServerIsTriedNeitherWaitsNorCrashes)
{
    ScriptedPrompts prompts;
    FakeNet net;
    net.silentServer = std::chrono::milliseconds(200);
    Settings settings { QStringLiteral("http://compras.example.com.br"), QStringLiteral("F"),
        QStringLiteral("S") };
    FakeLauncher launcher;
    QElapsedTimer took;
    took.start();
    {
        MainWorkflow workflow(prompts, net, settings);
        auto window = std::make_unique<TFKelvoCota>(prompts, workflow, settings, launcher);
        window->show();
        ASSERT_TRUE(workflow.internetCheckRunning());
        window->close();
        window.reset();
        // The check answers after its window is gone: nothing reaches it.
        QTest::qWait(300);
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
    EXPECT_LT(took.elapsed(), 2000);
}

TEST_F(MainFixture, HoverTextsAndSetupButtonLeavesPanel)
{
    window.show();
    hover(window.button(QStringLiteral("btn1")), QEvent::Enter);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Verifica cotações liberadas....."));
    hover(window.button(QStringLiteral("btn8")), QEvent::Enter);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Verifica cotações liberadas....."));
    hover(window.button(QStringLiteral("btn8")), QEvent::Leave);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Verifica cotações liberadas....."));
    hover(window.button(QStringLiteral("btn1")), QEvent::Leave);
    EXPECT_EQ(window.pnlMsg()->text(), QString());
    hover(window.button(QStringLiteral("btn4")), QEvent::Enter);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Sai do Sistema de Cotação - Fornecedor"));

    hover(window.btn9(), QEvent::Enter);
    EXPECT_TRUE(window.btn9()->font().bold());
    hover(window.btn9(), QEvent::Leave);
    EXPECT_FALSE(window.btn9()->font().bold());
}

TEST_F(MainFixture, LoginGate)
{
    window.show();
    const QString refused = QStringLiteral("[Erro] Login ou Senha inválida...., Tente novamente...");

    // Cancela: the login is not taken, whatever was typed.
    launcher.answer = { false, QStringLiteral("FORNEC1"), QStringLiteral("SEGREDO") };
    QTest::mouseClick(window.button(QStringLiteral("btn1")), Qt::LeftButton);
    EXPECT_EQ(launcher.prefillUser, QStringLiteral("FORNEC1"));
    EXPECT_EQ(launcher.prefillPass, QStringLiteral("SEGREDO"));
    EXPECT_EQ(prompts.boxes(), QStringList { refused });
    EXPECT_TRUE(launcher.opened.isEmpty());

    prompts.clear();
    launcher.answer = { true, QStringLiteral("   "), QStringLiteral("X") };
    QTest::mouseClick(window.button(QStringLiteral("btn2")), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(), QStringList { refused });
    EXPECT_TRUE(launcher.opened.isEmpty());

    prompts.clear();
    launcher.answer = { true, QStringLiteral(" OUTRO "), QStringLiteral(" S ") };
    QTest::mouseClick(window.button(QStringLiteral("btn6")), Qt::LeftButton);
    EXPECT_TRUE(prompts.boxes().isEmpty());
    ASSERT_EQ(launcher.opened, QStringList { QStringLiteral("TEnviaCotacao") });
    EXPECT_EQ(launcher.logins.first().login, QStringLiteral(" OUTRO "));
    EXPECT_EQ(launcher.logins.first().senha, QStringLiteral(" S "));
}

TEST_F(MainFixture, DirectButtonsOpenWithoutLoginAndExitCloses)
{
    window.show();
    const char *direct[][2] = { { "btn3", "TPrecoCota" }, { "btn5", "TPedidosBaixados" },
        { "btn7", "TCotasRespEnv" }, { "sbDel", "TApagaDados" }, { "btn8", "TSetUP" } };
    for (const auto &d : direct)
        QTest::mouseClick(window.button(QString::fromLatin1(d[0])), Qt::LeftButton);
    EXPECT_EQ(launcher.opened,
        (QStringList { QStringLiteral("TPrecoCota"), QStringLiteral("TPedidosBaixados"),
            QStringLiteral("TCotasRespEnv"), QStringLiteral("TApagaDados"), QStringLiteral("TSetUP") }));
    EXPECT_TRUE(launcher.logins.isEmpty());
    QTest::mouseClick(window.button(QStringLiteral("btn4")), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainFixture, AButtonWithoutItsWindowSaysSoBeforeTheLogin)
{
    window.show();
    launcher.built.removeAll(QStringLiteral("TPedLib"));
    launcher.answer = { true, QStringLiteral("FORNEC1"), QStringLiteral("SEGREDO") };
    QTest::mouseClick(window.button(QStringLiteral("btn2")), Qt::LeftButton);
    EXPECT_EQ(prompts.boxes(),
        QStringList {
            QStringLiteral("[Atenção] Esta função ainda não está disponível nesta versão do programa.") });
    EXPECT_EQ(launcher.loginsAsked, 0);
    EXPECT_TRUE(launcher.opened.isEmpty());
}

TEST_F(MainFixture, EveryImageButtonIsNamedAndTheKeysReachIt)
{
    const char *names[][2] = {
        { "btn1", "Verifica cotações liberadas....." },
        { "btn3", "Cotações baixadas pra definir Preços..." },
        { "btn6", "Envia resposta da cotação para Kelvo" },
        { "sbDel", "Apaga cotações e pedidos antigos...." },
        { "btn2", "Verifica Pedidos liberados..." },
        { "btn5", "Pedidos Baixados.. Para Atendimento..." },
        { "btn7", "Consulta cotações respondidas e enviadas" },
        { "btn8", "Configura usuário e senha" },
        { "btn4", "Sai do Sistema de Cotação - Fornecedor" },
    };
    for (const auto &[button, text] : names) {
        SCOPED_TRACE(button);
        EXPECT_EQ(window.button(QString::fromLatin1(button))->toolTip(), QString::fromUtf8(text));
        EXPECT_EQ(window.button(QString::fromLatin1(button))->accessibleName(), QString::fromUtf8(text));
    }

    // The panel follows the keyboard as it follows the pointer: the set-up
    // button puts nothing in it, and leaving a button empties it.
    window.show();
    QApplication::setActiveWindow(&window);
    window.button(QStringLiteral("btn7"))->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Consulta cotações respondidas e enviadas"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.button(QStringLiteral("btn8")));
    EXPECT_EQ(window.pnlMsg()->text(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Sai do Sistema de Cotação - Fornecedor"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btn9());
    EXPECT_EQ(window.pnlMsg()->text(), QString());

    // Enter on the focused button opens its window.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.button(QStringLiteral("btn3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(launcher.opened, QStringList { QStringLiteral("TPrecoCota") });
}

TEST(MainWindow, ALongSupplierNameEndsShortOfTheButtonsAndIsWholeInItsToolTip)
{
    ScriptedPrompts prompts;
    FakeNet net;
    FakeLauncher launcher;
    const QString name = QStringLiteral("DISTRIBUIDORA DE AUTOPEÇAS SÃO JOÃO BATISTA LTDA");
    Settings settings { QStringLiteral("http://compras.example.com.br"), name, QStringLiteral("S") };
    MainWorkflow workflow { prompts, net, settings };
    TFKelvoCota window { prompts, workflow, settings, launcher };
    window.show();
    const QLabel *label = window.lbfornec();
    EXPECT_TRUE(label->text().startsWith(QStringLiteral("Fornec.: DISTRIB")));
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Fornec.: ") + name);
    EXPECT_LE(label->geometry().right(), window.button(QStringLiteral("btn7"))->geometry().left());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
}

namespace {

// The main window with the day at a glance read from counts the test sets.
struct DayPanel : MainFixture {
    DayCounts counts;
    int reads = 0;
    bool storeFails = false;
    DayPanel()
    {
        counts.dueSoon = { 2, 1, 0 }; // one not yet downloaded: fetched first
        counts.overdue = { 1, 0, 1 }; // priced, to be sent
        counts.ordersToAttend = 1;
        window.setDayCounter([this]() -> std::optional<DayCounts> {
            ++reads;
            if (storeFails)
                throw StoreError(QStringLiteral("Banco: Database is not open"));
            return counts;
        });
    }
    QPushButton *day(DayCount which) const { return window.dayButton(which); }
};

} // namespace

TEST_F(DayPanel, ShowsTheCountsUnderTheRowWithoutMovingIt)
{
    window.show();
    EXPECT_EQ(day(DayCount::DueSoon)->text(), QStringLiteral("2 cotações vencem em 24 horas"));
    EXPECT_EQ(day(DayCount::Overdue)->text(), QStringLiteral("1 cotação vencida sem envio"));
    EXPECT_EQ(day(DayCount::OrdersToAttend)->text(), QStringLiteral("1 pedido aguarda atendimento"));
    // The specified controls keep their places; the counts are below them.
    EXPECT_EQ(window.button(QStringLiteral("btn4"))->geometry(), QRect(742, 8, 49, 44));
    EXPECT_EQ(window.pnlMsg()->geometry(), QRect(8, 57, 783, 33));
    EXPECT_EQ(window.btn9()->geometry(), QRect(404, 100, 121, 19));
    for (QPushButton *b : { day(DayCount::DueSoon), day(DayCount::Overdue), day(DayCount::OrdersToAttend) }) {
        EXPECT_TRUE(b->isVisible());
        EXPECT_GE(b->geometry().top(), 123);
        EXPECT_TRUE(window.rect().contains(b->geometry()));
        EXPECT_FALSE(b->autoDefault());
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width());
    }
    EXPECT_EQ(window.width(), 798);

    // A store that cannot be read leaves the counts out, and the row as specified.
    storeFails = true;
    window.refreshDay();
    EXPECT_FALSE(day(DayCount::DueSoon)->isVisible());
    EXPECT_EQ(window.size(), QSize(798, 123));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(DayPanel, EachCountOpensItsWindowByTheButtonsRoadAndIsReadAgainAfter)
{
    window.show();
    // Quotations due, one not downloaded: the released list, after the login.
    launcher.answer = { true, QStringLiteral("FORNEC1"), QStringLiteral("SEGREDO") };
    QTest::mouseClick(day(DayCount::DueSoon), Qt::LeftButton);
    EXPECT_EQ(launcher.loginsAsked, 1);
    EXPECT_EQ(launcher.opened, QStringList { QStringLiteral("TFCotaLib") });
    ASSERT_EQ(launcher.logins.size(), 1);
    EXPECT_EQ(launcher.logins.first().login, QStringLiteral("FORNEC1"));

    // The window changed the store: the counts are read again when it closes.
    const int before = reads;
    counts.dueSoon = { 0, 0, 0 };
    QTest::mouseClick(day(DayCount::OrdersToAttend), Qt::LeftButton);
    EXPECT_EQ(launcher.opened.last(), QStringLiteral("TPedidosBaixados"));
    EXPECT_EQ(launcher.loginsAsked, 1);
    EXPECT_EQ(reads, before + 1);
    EXPECT_EQ(day(DayCount::DueSoon)->text(), QStringLiteral("Nenhuma cotação vence em 24 horas"));

    // A refused login opens nothing, with the button's own message.
    launcher.answer = { false, QString(), QString() };
    QTest::mouseClick(day(DayCount::Overdue), Qt::LeftButton);
    EXPECT_EQ(launcher.loginsAsked, 2);
    EXPECT_EQ(launcher.opened.size(), 2);
    EXPECT_EQ(prompts.boxes(),
        QStringList { QStringLiteral("[Erro] Login ou Senha inválida...., Tente novamente...") });
}

TEST_F(DayPanel, TheCountsFollowTheClockButLeaveAWorkingWindowAlone)
{
    window.show();
    ASSERT_TRUE(window.dayTimer()->isActive());
    EXPECT_EQ(window.dayTimer()->interval(), 60 * 1000);

    // A minute on, a quotation has come within 24 hours.
    counts.dueSoon = { 3, 2, 0 };
    QMetaObject::invokeMethod(window.dayTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(day(DayCount::DueSoon)->text(), QStringLiteral("3 cotações vencem em 24 horas"));

    // While a working window is open over it, the panel waits for it to close.
    QDialog working(&window);
    working.setModal(true);
    working.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &working);
    const int before = reads;
    QMetaObject::invokeMethod(window.dayTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(reads, before);
}

TEST_F(DayPanel, TheKeysReachTheCountsAfterTheSpecifiedControls)
{
    window.show();
    QApplication::setActiveWindow(&window);
    window.btn9()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), day(DayCount::DueSoon));
    // The count with the focus shows it, and the panel tells where it leads.
    EXPECT_FALSE(day(DayCount::DueSoon)->isFlat());
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Verifica cotações liberadas....."));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), day(DayCount::Overdue));
    EXPECT_TRUE(day(DayCount::DueSoon)->isFlat());
    EXPECT_EQ(window.pnlMsg()->text(), QStringLiteral("Envia resposta da cotação para Kelvo"));
    // Priced and overdue: the sending window, after the login.
    launcher.answer = { true, QStringLiteral("FORNEC1"), QStringLiteral("SEGREDO") };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(launcher.opened, QStringList { QStringLiteral("TEnviaCotacao") });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), day(DayCount::OrdersToAttend));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(launcher.opened.last(), QStringLiteral("TPedidosBaixados"));
    EXPECT_EQ(launcher.loginsAsked, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.button(QStringLiteral("btn1")));
}

// The real windows, through the program's own launcher and counts: the
// orders count opens the downloaded orders; a quotations count asks for the
// login first, as its button does, and a cancelled login opens nothing.
TEST(DayPanelOnTheProgram, TheCountsOpenTheProgramsWindows)
{
    FixedClock clock { QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)) };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
    createDatabase(dir.file(QStringLiteral("CotaKelvo.new")));
    ScriptedPrompts prompts;
    FakeNet net;
    AppContext app(dir.path(), &net);
    ASSERT_TRUE(app.start(prompts));
    app.dm().Banco().execute(
        QStringLiteral("INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora) VALUES "
                       "('C1', 'ABERTA', '2026-12-10', '18:00:00'); "
                       "INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES ('P1', 'Baixado')"));
    MainWorkflow workflow(prompts, app.net(), app.settings());
    AppLauncher launcher(app, prompts);
    TFKelvoCota window(prompts, workflow, app.settings(), launcher);
    window.setDayCounter([&app] { return countDay(app); });
    window.show();
    ASSERT_EQ(
        window.dayButton(DayCount::OrdersToAttend)->text(), QStringLiteral("1 pedido aguarda atendimento"));

    // Each modal window that comes up is named and closed.
    QStringList opened;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &window, [&opened] {
        if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            opened << QString::fromLatin1(modal->metaObject()->className());
            modal->hide(); // ends its loop, as "Saída" would
        }
    });
    watch.start(20);
    QTest::mouseClick(window.dayButton(DayCount::OrdersToAttend), Qt::LeftButton);
    QTest::mouseClick(window.dayButton(DayCount::DueSoon), Qt::LeftButton);
    watch.stop();
    EXPECT_EQ(opened, (QStringList { QStringLiteral("TPedidosBaixados"), QStringLiteral("TFLogin") }));
    EXPECT_EQ(
        prompts.boxes().last(), QStringLiteral("[Erro] Login ou Senha inválida...., Tente novamente..."));
}
