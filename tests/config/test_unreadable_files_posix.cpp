// A configuration file that is there but cannot be read. Here a FIFO takes
// its place: there, but never read (nor waited on), also as root. Windows has
// no FIFO; there a file held by another program plays the part
// (test_unreadable_files_win.cpp).
#include "config/credential_file.h"
#include "config/server_file.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(CredentialFile, UnreadableFileIsAnErrorWithEmptyValues)
{
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("userkelvo.new"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const StoredCredentials c = readCredentials(dir.path());
    EXPECT_EQ(c.usuario, QString());
    EXPECT_EQ(c.senha, QString());
    EXPECT_EQ(
        c.error, QStringLiteral("Não foi possível abrir o arquivo \"%1\": não é um arquivo comum").arg(path));
}

TEST(ServerFile, UnreadableFileIsReportedAsDamaged)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("server.new"))).constData(), 0600), 0);
    const ServerFile r = readServerFile(dir.path());
    EXPECT_EQ(r.status, ServerFileStatus::Unusable);
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->text,
        QStringLiteral("Arquivo de configuração do servidor, está com problemas...Verifique..."));
}
