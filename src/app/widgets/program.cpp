#include "app/widgets/program.h"

#include "app/app_context.h"
#include "app/instance_guard.h"
#include "app/main_workflow.h"
#include "app/qt_translations.h"
#include "app/widgets/app_launcher.h"
#include "app/widgets/kelvo_application.h"
#include "app/widgets/main_window.h"
#include "common/regional.h"
#include "ui/widgets/qt_prompts.h"

#include <QMessageBox>
#include <QScreen>

int runCotaKelvo(int &argc, char **argv, const ProgramPlaces &places)
{
    // One copy per log-on session; a copy that died holds no lock that counts.
    InstanceGuard instancia(QStringLiteral("kelvocota"), places.lockFolder);
    const bool owner = instancia.acquire();

    KelvoApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CotaKelvo"));
    applyRegionalDefaults();
    installQtTranslations();
    if (!owner) {
        QMessageBox::information(nullptr, QStringLiteral("Atenção"), secondCopyText());
        return 0;
    }

    QtPrompts prompts;
    app.setPrompts(&prompts);
    AppContext context(
        places.folder.isEmpty() ? QCoreApplication::applicationDirPath() : places.folder, places.net);
    MainWorkflow workflow(prompts, context.net(), context.settings());
    AppLauncher launcher(context, prompts);
    TFKelvoCota FKelvoCota(prompts, workflow, context.settings(), launcher);
    prompts.setParent(&FKelvoCota);

    // A configuration problem ends the program before any operation starts.
    if (!context.start(prompts))
        return 0;

    FKelvoCota.setDayCounter([&context] { return countDay(context); });
    FKelvoCota.move(FKelvoCota.screen()->availableGeometry().center() - FKelvoCota.rect().center());
    FKelvoCota.show();
    if (places.shown)
        places.shown(FKelvoCota);
    return QApplication::exec();
}
