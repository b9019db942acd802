#include "cli/cli.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"


#include <gtest/gtest.h>

TEST(Cli, InitDbRefusesToOverwrite)
{
    TempFolder dir;
    EXPECT_EQ(runCliIn(dir, {QStringLiteral("init-db")}).status, 0);
    const QByteArray before = dir.read(QStringLiteral("CotaKelvo.new"));
    const CliRun again = runCliIn(dir, {QStringLiteral("init-db")});
    EXPECT_EQ(again.status, 1);
    ASSERT_EQ(again.out.size(), 1);
    EXPECT_TRUE(again.out.first().startsWith(QStringLiteral("[Erro] ")));
    EXPECT_EQ(dir.read(QStringLiteral("CotaKelvo.new")), before);

    TempFolder other;
    EXPECT_EQ(runCliIn(dir, {QStringLiteral("--dir"), other.file(QStringLiteral("novo")), QStringLiteral("init-db")}).status, 0);
    EXPECT_FALSE(other.read(QStringLiteral("novo/CotaKelvo.new")).isEmpty());
}

TEST(Cli, SetUserThenStatus)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://compras.example.com.br \r\n");
    ASSERT_EQ(runCliIn(dir, {QStringLiteral("init-db")}).status, 0);
    EXPECT_EQ(runCliIn(dir, {QStringLiteral("set-user"), QStringLiteral("ab"), QStringLiteral("segredo")}).status, 0);
    // Two enciphered lines: "AB" gives 2 + 2 * 2 hexadecimal digits.
    EXPECT_EQ(dir.read(QStringLiteral("userkelvo.new")).split('\n').first().trimmed().size(), 6);

    const CliRun s = runCliIn(dir, {QStringLiteral("status")});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out, (QStringList{QStringLiteral("servidor: http://compras.example.com.br "),
                                  QStringLiteral("usuario: AB"),
                                  QStringLiteral("banco: ") + dir.file(QStringLiteral("CotaKelvo.new")),
                                  QStringLiteral("CotaLiberadas: 0"), QStringLiteral("CotacaoFornc: 0"),
                                  QStringLiteral("PedidosLiberados: 0"), QStringLiteral("PedidoFornc: 0")}));

    const CliRun blank = runCliIn(dir, {QStringLiteral("set-user"), QStringLiteral("  "), QStringLiteral("x")});
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.out, QStringList{QStringLiteral("[Atenção] Nem usuário, nem senha pode está em branco....")});
}

TEST(Cli, ConfigurationErrorsAndUsage)
{
    TempFolder dir;
    const CliRun missing = runCliIn(dir, {QStringLiteral("status")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, QStringList{QStringLiteral(
                               "[Error] Arquivo de configuração do servidor não foi encontrado... Serviço interrompido....")});

    dir.write(QStringLiteral("server.new"), "");
    EXPECT_EQ(runCliIn(dir, {QStringLiteral("status")}).out,
              QStringList{QStringLiteral("[Erro] Arquivo de configuração do servidor, está com problemas...Verifique...")});

    const QStringList usageErrors[] = {
        {}, {QStringLiteral("bogus")}, {QStringLiteral("status"), QStringLiteral("extra")},
        {QStringLiteral("set-user"), QStringLiteral("only")}, {QStringLiteral("--dir")}, {QStringLiteral("--nope"), QStringLiteral("status")}};
    for (const QStringList &args : usageErrors)
        EXPECT_EQ(runCliIn(dir, args).status, 2) << args.join(QLatin1Char(' ')).toStdString();
}

TEST(Cli, CheckReportsUnreachableServer)
{
    TempFolder dir;
    // A port nobody listens on: the check connects for real and fails.
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
    const CliRun r = runCliIn(dir, {QStringLiteral("check")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("[Atenção] O servidor da Kelvo está com problemas...")) ||
                r.out.contains(QStringLiteral("Problemas com a sua Internet")));
}
