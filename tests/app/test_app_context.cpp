#include "app/app_context.h"
#include "config/credential_file.h"
#include "store/data_module.h"
#include "store/schema.h"
#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

struct Start {
    bool proceed;
    QStringList boxes;
    bool storeOpen;
    QString usuario;
};

Start start(const TempFolder &dir)
{
    ScriptedPrompts prompts;
    FakeNet net;
    AppContext app(dir.path(), &net);
    const bool proceed = app.start(prompts);
    return { proceed, prompts.boxes(), app.storeOpen(), app.settings().usuario };
}

} // namespace

TEST(AppStart, ServerFileProblemsEndTheProgramButCredentialsAreRead)
{
    TempFolder dir;
    writeCredentials(dir.path(), QStringLiteral("AB"), QStringLiteral("CD"));
    createDatabase(dir.file(QStringLiteral("CotaKelvo.new")));

    Start s = start(dir);
    EXPECT_FALSE(s.proceed);
    EXPECT_FALSE(s.storeOpen);
    EXPECT_EQ(s.usuario, QStringLiteral("AB"));
    EXPECT_EQ(s.boxes,
        QStringList { QStringLiteral(
            "[Error] Arquivo de configuração do servidor não foi encontrado... Serviço interrompido....") });

    dir.write(QStringLiteral("server.new"), "   \r\nhttp://ignored\r\n");
    s = start(dir);
    EXPECT_FALSE(s.proceed);
    EXPECT_EQ(
        s.boxes, QStringList { QStringLiteral("[Erro] Informações sobre o servidor está em branco....") });
}

TEST(AppStart, MissingStoreIsShownAndCredentialsAreNotRead)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
    writeCredentials(dir.path(), QStringLiteral("AB"), QStringLiteral("CD"));
    const Start s = start(dir);
    EXPECT_TRUE(s.proceed);
    EXPECT_FALSE(s.storeOpen);
    EXPECT_EQ(s.usuario, QString());
    EXPECT_EQ(s.boxes,
        QStringList { QStringLiteral("[CotaKelvo] Banco: Database file '%1' does not exist.")
                          .arg(dir.file(QStringLiteral("CotaKelvo.new"))) });
}

TEST(AppStart, ReadyFolderOpensStoreAndKeepsValuesReadBeforeDamage)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/ \r\n");
    createDatabase(dir.file(QStringLiteral("CotaKelvo.new")));
    writeCredentials(dir.path(), QStringLiteral("FORNEC"), QStringLiteral("X"));
    Start s = start(dir);
    EXPECT_TRUE(s.proceed);
    EXPECT_TRUE(s.storeOpen);
    EXPECT_EQ(s.usuario, QStringLiteral("FORNEC"));
    EXPECT_TRUE(s.boxes.isEmpty());

    // Only the first line: the user name is kept, the error is shown.
    const QByteArray first = dir.read(QStringLiteral("userkelvo.new")).split('\r').first();
    dir.write(QStringLiteral("userkelvo.new"), first + "\r\n");
    s = start(dir);
    EXPECT_TRUE(s.proceed);
    EXPECT_EQ(s.usuario, QStringLiteral("FORNEC"));
    ASSERT_EQ(s.boxes.size(), 1);
    EXPECT_TRUE(s.boxes.first().startsWith(QStringLiteral("[CotaKelvo] "))) << s.boxes.first().toStdString();
}
