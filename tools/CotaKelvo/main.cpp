#include "app/app_context.h"
#include "app/instance_guard.h"
#include "app/main_workflow.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/kelvo_application.h"
#include "app/widgets/main_window.h"
#include "common/regional.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/qt_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

int main(int argc, char **argv)
{
    // One copy per log-on session; the lock dies with the process.
    InstanceGuard instancia(QStringLiteral("kelvocota"));
    const bool owner = instancia.acquire();

    KelvoApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CotaKelvo"));
    applyRegionalDefaults();
    if (!owner) {
        QMessageBox::information(nullptr, QStringLiteral("Atenção"), secondCopyText());
        return 0;
    }

    QtPrompts prompts;
    app.setPrompts(&prompts);
    AppContext context(QCoreApplication::applicationDirPath());
    MainWorkflow workflow(prompts, context.net(), context.settings());
    AppLauncher launcher(context, prompts);
    TFKelvoCota FKelvoCota(prompts, workflow, context.settings(), launcher);
    prompts.setParent(&FKelvoCota);

    // A configuration problem ends the program before any operation starts.
    if (!context.start(prompts))
        return 0;

    FKelvoCota.move(FKelvoCota.screen()->availableGeometry().center() - FKelvoCota.rect().center());
    FKelvoCota.show();
    return QApplication::exec();
}
