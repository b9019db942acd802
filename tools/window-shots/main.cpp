// Saves a PNG of every window of the program, filled from a fixture store,
// on the offscreen platform: window-shots DIR
#include "app/app_context.h"
#include "app/main_workflow.h"
#include "app/qt_translations.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/main_window.h"
#include "config/widgets/login_window.h"
#include "fixture.h"
#include "orders/order_report.h"
#include "orders/store_report.h"
#include "quotations/quotation_report.h"
#include "quotations/widgets/downloaded_chooser.h"
#include "report/widgets/report_preview.h"
#include "store/data_module.h"
#include "ui/silent_prompts.h"
#include "ui/widgets/msg_window.h"
#include "ui/widgets/qt_prompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

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
    if (args.size() != 2) {
        out << "usage: window-shots DIR" << Qt::endl;
        return 2;
    }
    QDir dir(args.at(1));
    dir.mkpath(QStringLiteral("."));

    QTemporaryDir folder;
    writeFixtureFolder(folder.path());
    SilentPrompts prompts;
    OnlineNet net;
    AppContext context(folder.path(), &net);
    if (!context.start(prompts)) {
        out << "the fixture folder did not start" << Qt::endl;
        return 1;
    }
    fillFixtureStore(context.dm());

    bool ok = true;
    MainWorkflow workflow(prompts, context.net(), context.settings());
    AppLauncher launcher(context, prompts);
    TFKelvoCota main(prompts, workflow, context.settings(), launcher);
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

    // The chooser of the price entry, with the quotations it offers.
    Query &baixadas = context.dm().CotasBaixadas();
    baixadas.setParam(QStringLiteral("Status"), QStringLiteral("Baixada"));
    baixadas.open();
    TCotaBaixada chooser(baixadas, &main);
    ok &= save(&chooser, dir, QStringLiteral("TCotaBaixada"), out);
    baixadas.close();

    // The report preview on the first page of each printout: a downloaded
    // quotation, and the order and per-store printouts of a downloaded order.
    const auto savePreview = [&](const PreparedReport &report, const QString &name) {
        ReportPreview preview(report, {}, &main);
        preview.resize(900, 1000);
        ok &= save(&preview, dir, name, out);
    };
    Table &items = context.dm().CotaFornec();
    items.setFilter(QStringLiteral("COTACAO = ?"), { QStringLiteral("2026000102") });
    items.setFiltered(true);
    items.open();
    savePreview(prepareQuotationReport(context.dm()), QStringLiteral("ReportPreview"));
    items.close();
    items.setFiltered(false);
    savePreview(prepareOrderReport(context.dm(), QStringLiteral("2026000201")),
        QStringLiteral("ReportPreview-RLPedAtende"));
    savePreview(prepareStoreReport(context.dm(), QStringLiteral("2026000201")),
        QStringLiteral("ReportPreview-RLSepararLoja"));

    // Every working window the program can open, as its button opens it.
    const Login demo { QStringLiteral("DEMO"), QStringLiteral("DEMO123") };
    for (const QString &windowClass : AppLauncher::windowClasses()) {
        const std::unique_ptr<QDialog> window = launcher.create(windowClass, &main, &demo);
        if (!window)
            continue;
        prepareFixtureWindow(windowClass, window.get());
        ok &= save(window.get(), dir, windowClass, out);
    }
    return ok ? 0 : 1;
}
