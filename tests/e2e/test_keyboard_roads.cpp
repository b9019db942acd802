// The quotation and the order driven through the program's real windows with
// the keyboard alone, from the main window to what the store and the buyer
// hold at the end, against kelvo-buyer-sim. Message boxes are answered by a
// script; every window of ours gets only keys on the widget with the focus.
#include "app/app_context.h"
#include "app/main_workflow.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "buyersim/buyer_state.h"
#include "config/credential_file.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/fake_net.h"
#include "support/key_driver.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The program as it starts in its folder, on a simulator's server, with the
// demonstration login stored.
class Desk {
public:
    explicit Desk(const QStringList &simArguments)
        : sim(QStringList { u"--port"_s, u"0"_s, u"--state"_s, simDir.file(u"state.json"_s) } + simArguments)
    {
        net.realServerCheck = true; // the machine's interfaces play no part
        dir.write(u"server.new"_s, sim.url().toUtf8() + "\r\n");
        createDatabase(dir.file(databaseFileName()));
        writeCredentials(dir.path(), u"DEMO"_s, u"DEMO123"_s);
        started = app.start(prompts) && app.storeOpen();
        main.show();
        QApplication::setActiveWindow(&main);
    }

    buyersim::BuyerState buyer() const { return buyersim::BuyerState::load(simDir.file(u"state.json"_s)); }

    QString stored(const QString &sql, const QVariantList &values = {})
    {
        Statement st(app.dm().Banco(), sql);
        st.bindAll(values);
        return st.step() ? st.columnText(0) : QString();
    }

    QStringList errorBoxes() const
    {
        QStringList out;
        for (const ScriptedPrompts::Shown &s : prompts.shown) {
            if (s.kind == u"error" || s.caption == u"Erro")
                out << s.text;
        }
        return out;
    }

    TempFolder simDir;
    SimProcess sim;
    TempFolder dir;
    FakeNet net;
    ScriptedPrompts prompts;
    AppContext app { dir.path(), &net };
    MainWorkflow workflow { prompts, app.net(), app.settings() };
    AppLauncher launcher { app, prompts };
    TFKelvoCota main { prompts, workflow, app.settings(), launcher };
    bool started = false;
};

// The login window keeps Enter for moving on: Enter, Enter, then Space on "Ok".
void logIn(KeyDriver &road)
{
    road.waitForFocus(u"FLogin"_s, u"edt1"_s)
        .press(Qt::Key_Return)
        .press(Qt::Key_Return)
        .waitForFocus(u"FLogin"_s, u"btn1"_s)
        .press(Qt::Key_Space);
}

std::function<QString()> expectFocus(const QString &name)
{
    return [name] {
        const QWidget *focus = QApplication::focusWidget();
        return focus && focus->objectName() == name ? QString() : u"the focus is not on "_s + name;
    };
}

} // namespace

TEST(KeyboardRoads, AQuotationFetchedDownloadedPricedAndSent)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    Desk desk({ u"--generate"_s, u"6"_s });
    ASSERT_TRUE(desk.started);
    const QString cota = desk.sim.generatedQuotation();
    ASSERT_FALSE(cota.isEmpty());
    QList<buyersim::QuotationItem> byBrand = desk.buyer().quotation(cota)->itens;
    std::stable_sort(
        byBrand.begin(), byBrand.end(), [](const auto &a, const auto &b) { return a.marca < b.marca; });
    const ReleasedQuotationSet &released = desk.app.dm().CotaLiberada();
    const auto selected = [&] { return released.current() && released.current()->cotacao == cota; };
    // Download, ready, send: each question answered Yes.
    desk.prompts.answers = { true, true, true };
    desk.prompts.inputs = { u"promoção até sexta"_s };

    KeyDriver road;
    road.waitForFocus(u"FKelvoCota"_s, u"btn1"_s).press(Qt::Key_Return);
    logIn(road);
    road.waitForFocus(u"FCotaLib"_s, u"dbgrd1"_s)
        .tabTo(u"btn1"_s)
        .press(Qt::Key_Return) // "Verificar"
        .press(Qt::SHIFT | Qt::Key_Tab)
        .check(expectFocus(u"dbgrd1"_s))
        .pressUntil(Qt::Key_Down, selected)
        .tabTo(u"btn2"_s)
        .press(Qt::Key_Space) // "Baixar"
        .tabTo(u"btn3"_s)
        .press(Qt::Key_Return) // "Saída"
        .waitForFocus(u"FKelvoCota"_s, u"btn1"_s)
        .tabTo(u"btn3"_s)
        .press(Qt::Key_Return)
        .waitForFocus(u"PrecoCota"_s, u"btn3"_s)
        .press(Qt::Key_Return) // "Cotações Baixadas"
        .waitForFocus(u"CotaBaixada"_s, u"dbgrd1"_s)
        .press(Qt::Key_Return) // the only downloaded quotation, as "Filtra e Sai"
        .waitForFocus(u"PrecoCota"_s, u"dbgrd1"_s)
        // Tab moves between the cells: the price, then the similar item.
        .type(u"1234,5"_s)
        .press(Qt::Key_Tab)
        .type(u"SIM-9"_s)
        .press(Qt::Key_Return)
        .press(Qt::Key_Down)
        .press(Qt::SHIFT | Qt::Key_Tab)
        .type(u"10"_s)
        .press(Qt::Key_Return)
        .press(Qt::Key_F2) // the observation, typed in the input box
        .press(Qt::CTRL | Qt::Key_Tab)
        .check(expectFocus(u"btn2"_s))
        .press(Qt::Key_Return) // "Pronto Para envio"
        .press(Qt::ALT | Qt::Key_F4)
        .waitForFocus(u"FKelvoCota"_s, u"btn3"_s)
        .tabTo(u"btn6"_s)
        .press(Qt::Key_Space);
    logIn(road);
    road.waitForFocus(u"EnviaCotacao"_s, u"dbgrd1"_s)
        .tabTo(u"btn1"_s)
        .press(Qt::Key_Return) // "Envia-las Agora?"
        .tabTo(u"btn2"_s)
        .press(Qt::Key_Return) // "Saída"
        .waitForFocus(u"FKelvoCota"_s, u"btn6"_s);
    ASSERT_TRUE(road.run()) << road.failure().toStdString() << "\n"
                            << road.pressed().join(u'\n').toStdString() << "\n"
                            << desk.prompts.transcript().join(u'\n').toStdString();

    EXPECT_TRUE(desk.errorBoxes().isEmpty()) << desk.errorBoxes().join(u'\n').toStdString();
    EXPECT_EQ(
        desk.stored(u"SELECT TipoStatus FROM CotaLiberadas WHERE Cotacao = ?"_s, { cota }), u"Enviada"_s);
    const buyersim::BuyerState after = desk.buyer();
    ASSERT_EQ(after.envios.size(), 1);
    const QList<buyersim::SubmittedItem> &sent = after.envios.first().itens;
    ASSERT_EQ(sent.size(), byBrand.size());
    for (qsizetype k = 0; k < sent.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(sent[k].produto, byBrand[k].produto);
        EXPECT_EQ(sent[k].valor, k == 0 ? u"1234.5"_s : k == 1 ? u"10"_s : QString());
        EXPECT_EQ(sent[k].similares, k == 0 ? u"SIM-9"_s : QString());
        EXPECT_EQ(sent[k].obs, k == 1 ? u"promoção até sexta"_s : QString());
    }
}

TEST(KeyboardRoads, AnOrderFetchedDownloadedPrintedAndAttended)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    Desk desk({});
    ASSERT_TRUE(desk.started);
    const buyersim::BuyerState buyer = desk.buyer();
    ASSERT_EQ(buyer.pedidos.size(), 2);
    const QString pedido = buyer.pedidos[1].numero;
    const RowSet<ReleasedOrderRow> &orders = desk.app.dm().PedidosLiberados();
    const auto selected = [&] { return orders.current() && orders.current()->pedido == pedido; };
    // Download, then "already printed?": Yes.
    desk.prompts.answers = { true, true };

    KeyDriver road;
    road.waitForFocus(u"FKelvoCota"_s, u"btn1"_s).tabTo(u"btn2"_s).press(Qt::Key_Return);
    logIn(road);
    road.waitForFocus(u"PedLib"_s, u"dbgrd1"_s)
        .tabTo(u"btn1"_s)
        .press(Qt::Key_Space) // "Verificar"
        .press(Qt::SHIFT | Qt::Key_Tab)
        .pressUntil(Qt::Key_Down, selected)
        .tabTo(u"btn2"_s)
        .press(Qt::Key_Return) // "Baixar"
        .press(Qt::ALT | Qt::Key_F4)
        .waitForFocus(u"FKelvoCota"_s, u"btn2"_s)
        .tabTo(u"btn5"_s)
        .press(Qt::Key_Return)
        .waitForFocus(u"PedidosBaixados"_s, u"dbgrd1"_s)
        .check([&] { return selected() ? QString() : u"the downloaded order is not the one listed"_s; })
        .tabTo(u"btnimp"_s)
        .press(Qt::Key_Return) // "Imprime o Pedido", then the question
        .tabTo(u"btnsai"_s)
        .press(Qt::Key_Return)
        .waitForFocus(u"FKelvoCota"_s, u"btn5"_s);
    ASSERT_TRUE(road.run()) << road.failure().toStdString() << "\n"
                            << road.pressed().join(u'\n').toStdString() << "\n"
                            << desk.prompts.transcript().join(u'\n').toStdString();

    EXPECT_TRUE(desk.errorBoxes().isEmpty()) << desk.errorBoxes().join(u'\n').toStdString();
    EXPECT_EQ(desk.stored(u"SELECT TipoStatus FROM PedidosLiberados WHERE Pedido = ?"_s, { pedido }),
        u"Atendido"_s);
    EXPECT_EQ(desk.stored(u"SELECT COUNT(*) FROM PedidoFornc WHERE PEDIDO = ?"_s, { pedido }),
        QString::number(buyer.pedidos[1].itens.size()));
    const auto preview = std::find_if(desk.prompts.shown.begin(), desk.prompts.shown.end(),
        [](const ScriptedPrompts::Shown &s) { return s.kind == u"preview"; });
    ASSERT_NE(preview, desk.prompts.shown.end());
    EXPECT_GT(preview->pages, 0);
}
