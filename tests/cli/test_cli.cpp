#include "cli/cli.h"
#include "common/clock.h"
#include "store/schema.h"
#include "store/sqlcipher.h"
#include "support/cli_run.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QScopeGuard>
#include <QTcpServer>

#include <gtest/gtest.h>

TEST(Cli, InitDbRefusesToOverwrite)
{
    TempFolder dir;
    EXPECT_EQ(runCliIn(dir, { QStringLiteral("init-db") }).status, 0);
    const QByteArray before = dir.read(QStringLiteral("CotaKelvo.new"));
    const CliRun again = runCliIn(dir, { QStringLiteral("init-db") });
    EXPECT_EQ(again.status, 1);
    ASSERT_EQ(again.out.size(), 1);
    EXPECT_TRUE(again.out.first().startsWith(QStringLiteral("[Erro] ")));
    EXPECT_EQ(dir.read(QStringLiteral("CotaKelvo.new")), before);

    TempFolder other;
    EXPECT_EQ(runCliIn(dir,
                  { QStringLiteral("--dir"), other.file(QStringLiteral("novo")), QStringLiteral("init-db") })
                  .status,
        0);
    EXPECT_FALSE(other.read(QStringLiteral("novo/CotaKelvo.new")).isEmpty());
}

TEST(Cli, SetUserThenStatus)
{
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://compras.example.com.br \r\n");
    ASSERT_EQ(runCliIn(dir, { QStringLiteral("init-db") }).status, 0);
    EXPECT_EQ(
        runCliIn(dir, { QStringLiteral("set-user"), QStringLiteral("ab"), QStringLiteral("segredo") }).status,
        0);
    // Two enciphered lines: "AB" gives 2 + 2 * 2 hexadecimal digits.
    EXPECT_EQ(dir.read(QStringLiteral("userkelvo.new")).split('\n').first().trimmed().size(), 6);

    const CliRun s = runCliIn(dir, { QStringLiteral("status") });
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out,
        (QStringList { QStringLiteral("servidor: http://compras.example.com.br "),
            QStringLiteral("usuario: AB"),
            QStringLiteral("banco: ") + dir.file(QStringLiteral("CotaKelvo.new")),
            QStringLiteral("CotaLiberadas: 0"), QStringLiteral("CotacaoFornc: 0"),
            QStringLiteral("PedidosLiberados: 0"), QStringLiteral("PedidoFornc: 0") }));

    const CliRun blank
        = runCliIn(dir, { QStringLiteral("set-user"), QStringLiteral("  "), QStringLiteral("x") });
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.out,
        QStringList { QStringLiteral("[Atenção] Nem usuário, nem senha pode está em branco....") });
}

TEST(Cli, ConfigurationErrorsAndUsage)
{
    TempFolder dir;
    const CliRun missing = runCliIn(dir, { QStringLiteral("status") });
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out,
        QStringList { QStringLiteral(
            "[Error] Arquivo de configuração do servidor não foi encontrado... Serviço interrompido....") });

    dir.write(QStringLiteral("server.new"), "");
    EXPECT_EQ(runCliIn(dir, { QStringLiteral("status") }).out,
        QStringList { QStringLiteral(
            "[Erro] Arquivo de configuração do servidor, está com problemas...Verifique...") });

    const QStringList usageErrors[]
        = { {}, { QStringLiteral("bogus") }, { QStringLiteral("status"), QStringLiteral("extra") },
              { QStringLiteral("set-user"), QStringLiteral("only") }, { QStringLiteral("--dir") },
              { QStringLiteral("--nope"), QStringLiteral("status") } };
    for (const QStringList &args : usageErrors)
        EXPECT_EQ(runCliIn(dir, args).status, 2) << args.join(QLatin1Char(' ')).toStdString();
}

TEST(Cli, CheckTellsInternetAndServer)
{
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
    const QString up = QStringLiteral("http://127.0.0.1:%1/").arg(listening.serverPort());
    const QString down = QStringLiteral("http://127.0.0.1:%1/").arg(closedLocalPort());
    const struct {
        const char *name;
        bool connected;
        QString servidor;
        int status;
        QStringList out;
    } cases[] = {
        { "no internet", false, up, 1, { QStringLiteral("Problemas com a sua Internet") } },
        { "server down", true, down, 1,
            { QStringLiteral("[Atenção] O servidor da Kelvo está com problemas..."),
                QStringLiteral("Conectado a ") + down } },
        { "both up", true, up, 0, { QStringLiteral("Conectado a ") + up } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        ASSERT_EQ(runCliIn(dir, { QStringLiteral("init-db") }).status, 0);
        dir.write(QStringLiteral("server.new"), c.servidor.toUtf8() + "\r\n");
        // The internet as the case says; the server check connects for real.
        FakeNet net;
        net.connected = c.connected;
        net.realServerCheck = true;
        const CliRun r = runCliIn(dir, { QStringLiteral("check") }, &net);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(Cli, TodayPrintsTheDayAtAGlance)
{
    FixedClock clock { QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)) };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    TempFolder dir;
    dir.write(QStringLiteral("server.new"), "http://127.0.0.1:1/\r\n");
    ASSERT_EQ(runCliIn(dir, { QStringLiteral("init-db") }).status, 0);
    {
        Database db;
        db.open(dir.file(QStringLiteral("CotaKelvo.new")), storeKey());
        db.execute(QStringLiteral(
            "INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora) VALUES "
            "('C1', 'Baixada', '2026-12-10', '18:00:00'), ('C2', 'ABERTA', '2026-12-11', '11:00:00'), "
            "('C3', 'Enviada', '2026-12-10', '18:00:00'), ('C4', 'Enviar', '2026-12-09', '18:00:00'); "
            "INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES ('P1', 'Baixado'), ('P2', "
            "'Atendido')"));
    }
    const CliRun today = runCliIn(dir, { QStringLiteral("today") });
    EXPECT_EQ(today.status, 0);
    EXPECT_EQ(today.out,
        (QStringList { QStringLiteral("vencem em 24 horas: 2"), QStringLiteral("vencidas sem envio: 1"),
            QStringLiteral("pedidos a atender: 1") }));

    // Without a store there is nothing to count: a failure, not zeros.
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("CotaKelvo.new"))));
    const CliRun none = runCliIn(dir, { QStringLiteral("today") });
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.join(u'\n').contains(QStringLiteral("does not exist")));
}
