#include "config/credential_file.h"
#include "config/crypt.h"
#include "config/set_up_workflow.h"
#include "support/owner_only.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString kBlankCredentials = QStringLiteral("[Atenção] Nem usuário, nem senha pode está em branco....");

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QFileDevice::Permissions permissionsOf(const QString &path)
{
    // Qt reports the user bits as well as the owner bits; keep only the real ones.
    return QFile::permissions(path)
        & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
            | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

} // namespace

TEST(CredentialFile, MissingFileGivesEmptyValuesAndNoError)
{
    TempFolder dir;
    const StoredCredentials c = readCredentials(dir.path());
    EXPECT_EQ(c.usuario, QString());
    EXPECT_EQ(c.senha, QString());
    EXPECT_FALSE(c.error.has_value());
}

TEST(CredentialFile, ReadsHandWrittenLinesWithAnyLineEnd)
{
    for (const QByteArray &bytes : { QByteArray("100015\r\n506B\r\n"), QByteArray("100015\n506b"),
             QByteArray("100015\r506B\r"), QByteArray("100015\r\n506B\r\nFFFF\r\nthird line ignored\r\n") }) {
        TempFolder dir;
        dir.write(QStringLiteral("userkelvo.new"), bytes);
        const StoredCredentials c = readCredentials(dir.path());
        EXPECT_EQ(c.usuario, QStringLiteral("AB")) << bytes.constData();
        EXPECT_EQ(c.senha, QString::fromUtf16(u"é")) << bytes.constData();
        EXPECT_FALSE(c.error.has_value()) << bytes.constData();
    }
}

// Reading stops at the faulty line: what came before it is kept.
TEST(CredentialFile, DamagedFileReportsTheErrorAndKeepsWhatWasRead)
{
    struct Case {
        QByteArray bytes;
        QString usuario;
        QString senha;
        std::optional<QString> error;
    };
    const QString ab = QStringLiteral("AB");
    const Case cases[] = {
        { "", {}, {}, QStringLiteral("Falta a linha 1 do arquivo de usuário") },
        { "100015\r\n", ab, {}, QStringLiteral("Falta a linha 2 do arquivo de usuário") },
        { "100015", ab, {}, QStringLiteral("Falta a linha 2 do arquivo de usuário") },
        { "10\r\n506B\r\n", {}, {}, QStringLiteral("'' não é um número inteiro válido") },
        { "100015\r\n50\r\n", ab, {}, QStringLiteral("'' não é um número inteiro válido") },
        { "100015\r\nZZ6B\r\n", ab, {}, QStringLiteral("'ZZ' não é um número inteiro válido") },
        { "10G015\r\n506B\r\n", {}, {}, QStringLiteral("'G0' não é um número inteiro válido") },
        { "100015\r\n506B0\r\n", ab, {}, QStringLiteral("'0' não é um número inteiro válido") },
        { "1000150\r\n506B\r\n", {}, {}, QStringLiteral("'0' não é um número inteiro válido") },
        // An empty line deciphers to empty text and is no error.
        { "\r\n506B\r\n", {}, QString::fromUtf16(u"é"), std::nullopt },
    };
    for (const Case &c : cases) {
        TempFolder dir;
        dir.write(QStringLiteral("userkelvo.new"), c.bytes);
        const StoredCredentials r = readCredentials(dir.path());
        EXPECT_EQ(r.usuario, c.usuario) << c.bytes.constData();
        EXPECT_EQ(r.senha, c.senha) << c.bytes.constData();
        EXPECT_EQ(r.error, c.error) << c.bytes.constData();
    }
}

TEST(SetUpWorkflow, GravaWritesTwoEncipheredLinesForTheOwnerOnly)
{
    TempFolder dir;
    ScriptedPrompts prompts;
    Settings settings { QStringLiteral("http://srv"), QStringLiteral("OLD"), QStringLiteral("OLDPW") };
    SetUpWorkflow flow(prompts, dir.path(), settings);

    ASSERT_TRUE(flow.save(QStringLiteral("AB"), QStringLiteral(" S 1 ")));
    EXPECT_TRUE(prompts.shown.isEmpty());

    const QString path = dir.file(QStringLiteral("userkelvo.new"));
    EXPECT_TRUE(isOwnersOnly(path));
    const QByteArray bytes = dir.read(QStringLiteral("userkelvo.new"));
    const QRegularExpression shape(QStringLiteral("^[0-9A-F]{6}\r\n[0-9A-F]{12}\r\n$"));
    EXPECT_TRUE(shape.match(QString::fromLatin1(bytes)).hasMatch()) << bytes.constData();

    // Kept as typed, blanks included, in the file and in the settings.
    const StoredCredentials back = readCredentials(dir.path());
    EXPECT_EQ(back.usuario, QStringLiteral("AB"));
    EXPECT_EQ(back.senha, QStringLiteral(" S 1 "));
    EXPECT_FALSE(back.error.has_value());
    EXPECT_EQ(settings.usuario, QStringLiteral("AB"));
    EXPECT_EQ(settings.senha, QStringLiteral(" S 1 "));
    EXPECT_EQ(settings.servidor, QStringLiteral("http://srv"));
}

TEST(SetUpWorkflow, GravaReplacesAnExistingFileAndTightensItsPermissions)
{
    TempFolder dir;
    dir.write(QStringLiteral("userkelvo.new"), "100015\r\n506B\r\nextra line\r\n");
    const QString path = dir.file(QStringLiteral("userkelvo.new"));
    QFile::setPermissions(path, kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    ScriptedPrompts prompts;
    Settings settings;
    SetUpWorkflow flow(prompts, dir.path(), settings);

    QSet<QByteArray> contents;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(flow.save(QStringLiteral("FORNEC"), QStringLiteral("SENHA")));
        contents.insert(dir.read(QStringLiteral("userkelvo.new")));
        const StoredCredentials back = readCredentials(dir.path());
        EXPECT_EQ(back.usuario, QStringLiteral("FORNEC"));
        EXPECT_EQ(back.senha, QStringLiteral("SENHA"));
    }
    EXPECT_EQ(permissionsOf(path), kOwnerOnly);
    EXPECT_EQ(dir.read(QStringLiteral("userkelvo.new")).count('\n'), 2);
    // The offset is drawn anew each time.
    EXPECT_GT(contents.size(), 1);
}

TEST(SetUpWorkflow, BlankUserOrPasswordIsRefusedAndNothingChanges)
{
    const std::pair<QString, QString> cases[] = {
        { QString(), QStringLiteral("SENHA") },
        { QStringLiteral("USER"), QString() },
        { QStringLiteral("   "), QStringLiteral("SENHA") },
        { QStringLiteral("USER"), QStringLiteral("\t \r\n") },
        { QString(), QString() },
    };
    for (const auto &[user, password] : cases) {
        TempFolder dir;
        dir.write(QStringLiteral("userkelvo.new"), "100015\r\n506B\r\n");
        ScriptedPrompts prompts;
        Settings settings { {}, QStringLiteral("AB"), QStringLiteral("X") };
        SetUpWorkflow flow(prompts, dir.path(), settings);

        EXPECT_FALSE(flow.save(user, password));
        EXPECT_EQ(prompts.boxes(), QStringList { kBlankCredentials });
        EXPECT_EQ(dir.read(QStringLiteral("userkelvo.new")), QByteArray("100015\r\n506B\r\n"));
        EXPECT_EQ(settings.usuario, QStringLiteral("AB"));
        EXPECT_EQ(settings.senha, QStringLiteral("X"));
    }
}

TEST(SetUpWorkflow, WriteFailureIsShownAndLeavesTheValues)
{
    TempFolder dir;
    ScriptedPrompts prompts;
    Settings settings { {}, QStringLiteral("AB"), QStringLiteral("X") };
    SetUpWorkflow flow(prompts, dir.file(QStringLiteral("no-such-folder")), settings);

    EXPECT_FALSE(flow.save(QStringLiteral("NEW"), QStringLiteral("PW")));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.at(0).kind, QStringLiteral("error"));
    EXPECT_TRUE(prompts.shown.at(0).text.startsWith(QStringLiteral("Não foi possível gravar o arquivo")))
        << prompts.shown.at(0).text.toStdString();
    EXPECT_EQ(settings.usuario, QStringLiteral("AB"));
    EXPECT_EQ(settings.senha, QStringLiteral("X"));
}
