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
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "ui/widgets/msg_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

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

// No push button of the window is a default button, and Enter or the
// keypad's Enter on any of its controls (grids first) clicks no button,
// shows nothing and leaves the window open.
void expectEnterClicksNothing(QWidget *window, ScriptedPrompts &prompts)
{
    window->show();
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    prompts.clear();

    int clicks = 0;
    const auto buttons = window->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (auto *push = qobject_cast<QPushButton *>(button)) {
            EXPECT_FALSE(push->isDefault()) << push->objectName().toStdString();
            EXPECT_FALSE(push->autoDefault()) << push->objectName().toStdString();
        }
        QObject::connect(button, &QAbstractButton::clicked, button, [&clicks] { ++clicks; });
    }

    QList<QWidget *> controls;
    const auto grids = window->findChildren<QAbstractItemView *>();
    for (QAbstractItemView *grid : grids) {
        if (grid->model() && grid->model()->rowCount() > 0)
            grid->setCurrentIndex(grid->model()->index(0, 0));
        controls << grid;
    }
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!qobject_cast<QAbstractItemView *>(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible())
            controls << w;
    }
    for (QWidget *control : controls) {
        if (!window->isVisible())
            break;
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
        QCoreApplication::processEvents();
        EXPECT_EQ(clicks, 0) << "Enter on " << control->objectName().toStdString() << " ("
                             << control->metaObject()->className() << ") clicked a button";
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.transcript().join(QLatin1Char('\n')).toStdString();
}

} // namespace

// Windows added to the launcher are covered as they land.
TEST(WindowKeys, NoWorkingWindowHasADefaultButtonAndEnterClicksNothing)
{
    ProgramFolder program;
    AppLauncher launcher(program.app, program.prompts);
    const Login login { QStringLiteral("DEMO"), QStringLiteral("DEMO123") };
    ASSERT_FALSE(AppLauncher::windowClasses().isEmpty());
    for (const QString &windowClass : AppLauncher::windowClasses()) {
        SCOPED_TRACE(windowClass.toStdString());
        const std::unique_ptr<QDialog> window = launcher.create(windowClass, nullptr, &login);
        ASSERT_TRUE(window);
        expectEnterClicksNothing(window.get(), program.prompts);
        window->hide();
    }
}

TEST(WindowKeys, NorTheWindowsAroundThem)
{
    ProgramFolder program;
    TDm &dm = program.app.dm();
    CountingLauncher counting;
    MainWorkflow mainFlow(program.prompts, program.app.net(), program.app.settings());
    Query &baixadas = dm.CotasBaixadas();
    baixadas.setParam(QStringLiteral("Status"), QStringLiteral("Baixada"));
    baixadas.open();
    Table &items = dm.CotaFornec();
    items.open();
    const PreparedReport report = prepareQuotationReport(dm);

    const std::pair<const char *, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        { "TFKelvoCota",
            [&] {
                return std::make_unique<TFKelvoCota>(
                    program.prompts, mainFlow, program.app.settings(), counting);
            } },
        { "TFLogin", [] { return std::make_unique<TFLogin>(); } },
        { "TMsg", [] { return std::make_unique<TMsg>(); } },
        { "TCotaBaixada", [&] { return std::make_unique<TCotaBaixada>(baixadas); } },
        { "ReportPreview", [&] { return std::make_unique<ReportPreview>(report, PreviewServices {}); } },
    };
    for (const auto &[name, make] : windows) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QWidget> window = make();
        expectEnterClicksNothing(window.get(), program.prompts);
        window->hide();
    }
    EXPECT_EQ(counting.calls, 0);
}
