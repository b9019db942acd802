// Saves a PNG of every window of the program, filled from a fixture store,
// on the offscreen platform: window-shots DIR [--long]. With --long every
// text is as long as its column keeps it, to see that nothing a supplier
// needs to read is cut.
#include "app/app_context.h"
#include "app/day_summary.h"
#include "app/main_workflow.h"
#include "app/qt_translations.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "config/widgets/login_window.h"
#include "fixture.h"
#include "orders/order_report.h"
#include "orders/store_report.h"
#include "purge/store_restore.h"
#include "quotations/price_entry.h"
#include "quotations/quotation_report.h"
#include "quotations/widgets/downloaded_chooser.h"
#include "quotations/widgets/price_history_window.h"
#include "report/widgets/report_preview.h"
#include "store/data_module.h"
#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "ui/widgets/choice_dialog.h"
#include "ui/widgets/msg_window.h"
#include "ui/widgets/qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget *w, const QDir &dir, const QString &name, QTextStream &out)
{
    w->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool ok = w->grab().save(path);
    out << (ok ? "saved " : "FAILED ") << path << Qt::endl;
    w->hide();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    installQtTranslations();
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    const bool longValues = args.size() == 3 && args.at(2) == QLatin1String("--long");
    if (args.size() != 2 && !longValues) {
        out << "usage: window-shots DIR [--long]" << Qt::endl;
        return 2;
    }
    const FixtureValues values = longValues ? FixtureValues::Long : FixtureValues::Ordinary;
    QDir dir(args.at(1));
    dir.mkpath(QStringLiteral("."));

    QTemporaryDir folder;
    writeFixtureFolder(folder.path(), values);
    // The windows are shown, not used: no question is answered Yes.
    ScriptedPrompts prompts;
    FakeNet net;
    AppContext context(folder.path(), &net);
    if (!context.start(prompts)) {
        out << "the fixture folder did not start" << Qt::endl;
        return 1;
    }
    fillFixtureStore(context.dm(), values);

    bool ok = true;
    MainWorkflow workflow(prompts, context.net(), context.settings());
    AppLauncher launcher(context, prompts);
    TFKelvoCota main(prompts, workflow, context.settings(), launcher);
    main.setDayCounter([&context] { return countDay(context); });
    ok &= save(&main, dir, QStringLiteral("TFKelvoCota"), out);

    TFLogin login(&main);
    login.edt1()->setText(context.settings().usuario);
    login.edt2()->setText(context.settings().senha);
    ok &= save(&login, dir, QStringLiteral("TFLogin"), out);

    TMsgLog log(&main);
    log.addLine(QStringLiteral("Internet - ok"));
    log.addLine(QStringLiteral("Servidor do kelvo - ok "));
    log.addLine(QStringLiteral("Recebidos 12 itens da cotação 2026000101"));
    ok &= save(log.window(), dir, QStringLiteral("TMsg"), out);

    // A question as every question is asked: Qt's own buttons, in Portuguese.
    const auto question
        = questionBox(&main, QStringLiteral("Atenção"), QStringLiteral("Você já imprimiu o pedido ??"));
    ok &= save(question.get(), dir, QStringLiteral("Pergunta"), out);

    // The chooser of the price entry, with the quotations it offers.
    Query &baixadas = context.dm().CotasBaixadas();
    baixadas.setParam(QStringLiteral("Status"), QStringLiteral("Baixada"));
    baixadas.open();
    TCotaBaixada chooser(baixadas, &main);
    ok &= save(&chooser, dir, QStringLiteral("TCotaBaixada"), out);
    baixadas.close();

    // The list of "Restaurar cópia…", on two copies of the fixture store.
    backUpBeside(context.dm().Banco());
    backUpBeside(context.dm().Banco());
    QList<QStringList> copies;
    for (const StoreBackup &backup : storeBackups(context.databasePath()))
        copies << StoreRestore::row(backup);
    ChoiceDialog copiesList(
        &main, StoreRestore::choiceCaption(), StoreRestore::choiceText(), StoreRestore::columns(), copies);
    ok &= save(&copiesList, dir, QStringLiteral("ChoiceDialog"), out);

    // The report preview on the first page of each printout: a downloaded
    // quotation, and the order and per-store printouts of a downloaded order.
    const auto savePreview = [&](ReportPreparation report, const QString &name) {
        report.complete(); // the whole page count, as it settles
        ReportPreview preview(report, {}, &main);
        preview.resize(900, 1000);
        ok &= save(&preview, dir, name, out);
    };
    context.dm().showQuotationItems(fixtureNumber("2026000102", values));
    savePreview(quotationReport(context.dm()), QStringLiteral("ReportPreview"));
    context.dm().closeQuotationItems();
    savePreview(orderReport(context.dm(), fixtureNumber("2026000201", values)),
        QStringLiteral("ReportPreview-RLPedAtende"));
    savePreview(storeReport(context.dm(), fixtureNumber("2026000201", values)),
        QStringLiteral("ReportPreview-RLSepararLoja"));

    // Every working window the program can open, as its button opens it.
    const Login demo { QStringLiteral("DEMO"), QStringLiteral("DEMO123") };
    for (const QString &windowClass : AppLauncher::windowClasses()) {
        const std::unique_ptr<QDialog> window = launcher.create(windowClass, &main, &demo);
        if (!window)
            continue;
        prepareFixtureWindow(windowClass, window.get(), values);
        ok &= save(window.get(), dir, windowClass, out);
    }

    // The price history of the chosen quotation's first item, and of an
    // item never priced before.
    PriceEntry pricing(prompts, context.dm());
    pricing.start();
    const QString chosen = fixtureNumber("2026000102", values);
    pricing.chooseQuotation([&](Query &q) { return q.locate(QStringLiteral("Cotacao"), { chosen }); });
    pricing.selectItem(
        values == FixtureValues::Long ? QStringLiteral("000100231000001") : QStringLiteral("100231"));
    if (const auto history = pricing.currentPriceHistory()) {
        TPrecoHistorico window(*history, &main);
        ok &= save(&window, dir, QStringLiteral("TPrecoHistorico"), out);
        PriceHistory none = *history;
        none.points.clear();
        none.listPrice.reset();
        TPrecoHistorico empty(none, &main);
        ok &= save(&empty, dir, QStringLiteral("TPrecoHistorico-vazio"), out);
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
