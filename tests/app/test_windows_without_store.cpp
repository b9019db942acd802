#include "app/app_context.h"
#include "app/widgets/app_launcher.h"
#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QDialog>

#include <gtest/gtest.h>

// With the database file missing the program still comes up; every working
// window then meets the store's error instead of bringing the program down.
TEST(WindowsWithoutStore, EveryWindowOpensAndShowsTheStoresError)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
    ScriptedPrompts prompts;
    FakeNet net;
    net.connected = false;
    AppContext app(dir.path(), &net);
    ASSERT_TRUE(app.start(prompts));
    ASSERT_FALSE(app.storeOpen());
    prompts.clear();

    AppLauncher launcher(app, prompts);
    const Login login { QStringLiteral("DEMO"), QStringLiteral("DEMO123") };
    ASSERT_FALSE(AppLauncher::windowClasses().isEmpty());
    for (const QString &windowClass : AppLauncher::windowClasses()) {
        SCOPED_TRACE(windowClass.toStdString());
        std::unique_ptr<QDialog> window;
        EXPECT_NO_THROW({
            window = launcher.create(windowClass, nullptr, &login);
            window->show();
            QCoreApplication::processEvents();
            window->close();
        });
    }
    // The windows that open a table said why they could not.
    EXPECT_GE(prompts.boxes().size(), 3);
    for (const QString &box : prompts.boxes())
        EXPECT_TRUE(box.startsWith(QStringLiteral("[CotaKelvo] "))) << box.toStdString();
}
