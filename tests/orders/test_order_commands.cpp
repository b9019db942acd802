#include "orders/order_fixture.h"
#include "support/cli_run.h"
#include "support/qstring_printer.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

const QString PrintQuestion
    = u"[Atenção] Você já imprimiu o pedido ??, Se a Resposta for sim, não será possível "
      "imprimir o pedido novamente e o status será alterado para Atendido. Deseja confirmar??"_s;

class OrderCommands : public OrderStoreTest {
protected:
    OrderCommands()
    {
        folder.write(u"server.new"_s, "http://127.0.0.1:1/kelvo\r\n");
        addOrder(u"L1"_s, u"Liberado"_s);
        addOrder(u"B1"_s, u"Baixado"_s, u"2020-06-21"_s);
        addOrder(u"A1"_s, u"Atendido"_s, u"2020-06-21"_s);
        addLine({ .produto = u"2"_s,
            .marca = u"NGK"_s,
            .qtde = 1.5,
            .valor = 1000.0,
            .lojas = { 1.0, 0.5, QVariant() },
            .pedido = u"B1"_s });
        addLine({ .produto = u"1"_s,
            .qtde = 2.0,
            .valor = 3.25,
            .lojas = { 2.0, QVariant(), QVariant() },
            .pedido = u"B1"_s });
        rows(
            u"UPDATE PedidoFornc SET APLICACAO = 'GOL' || char(13) || char(10) || 'FOX\\1.6' WHERE PRODUTO = '2'"_s);
    }

    CliRun cli(const QStringList &args) { return runCliIn(folder, args); }
};

} // namespace

TEST_F(OrderCommands, ListingsAndTotals)
{
    const CliRun list = cli({ u"orders"_s, u"list"_s });
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out,
        (QStringList { u"L1|Liberado|2020-06-20|09:30||"_s, u"B1|Baixado|2020-06-20|09:30|2020-06-21|10:00"_s,
            u"A1|Atendido|2020-06-20|09:30|2020-06-21|10:00"_s }));

    // In the table's order; line breaks and backslashes escaped, so that one item stays one line.
    const CliRun items = cli({ u"orders"_s, u"items"_s, u"b1"_s });
    EXPECT_EQ(items.status, 0);
    EXPECT_EQ(items.out,
        (QStringList {
            u"COMPRAS|B1|2020-06-26|2|PF-2|Peça|UN|GOL\\r\\nFOX\\\\1.6|NGK|1.5|1000||SIM||1|0.5||Loja Centro|Loja Norte|Loja Sul"_s,
            u"COMPRAS|B1|2020-06-26|1|PF-1|Peça|UN||BOSCH|2|3.25||SIM||2|||Loja Centro|Loja Norte|Loja Sul"_s }));

    const CliRun totals = cli({ u"orders"_s, u"totals"_s, u"B1"_s });
    EXPECT_EQ(totals.status, 0);
    EXPECT_EQ(totals.out,
        (QStringList { u"Valor Total Ped. : 1.506,50"_s, u"Tot. Loja Centro = 1.006,50"_s,
            u"Tot. Loja Norte = 500,00"_s, u"Tot. Loja Sul = 0,00"_s }));
    EXPECT_EQ(cli({ u"orders"_s, u"totals"_s, u"A1"_s }).out.first(), u"Valor Total Ped. : 0,00"_s);

    const CliRun liberado = cli({ u"orders"_s, u"totals"_s, u"L1"_s });
    EXPECT_EQ(liberado.status, 1);
    EXPECT_EQ(liberado.out,
        QStringList {
            u"[Erro] O pedido : L1 está com o status \"Liberado\" e não está entre os pedidos baixados ou "
            "atendidos."_s });
    for (const QString &command : { u"items"_s, u"totals"_s, u"download"_s, u"attend"_s, u"print"_s }) {
        const CliRun unknown = cli({ u"orders"_s, command, u"X9"_s });
        EXPECT_EQ(unknown.status, 1) << command.toStdString();
        EXPECT_EQ(unknown.out, QStringList { u"[Erro] O pedido : X9 não está no seu banco."_s });
    }
}

TEST_F(OrderCommands, AttendAndUnattendAskFirst)
{
    const CliRun no = cli({ u"orders"_s, u"attend"_s, u"B1"_s });
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.out, QStringList { u"[Atenção] Este pedido já foi atendido????"_s });
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s);

    EXPECT_EQ(cli({ u"--yes"_s, u"orders"_s, u"attend"_s, u"B1"_s }).status, 0);
    EXPECT_EQ(status(u"B1"_s), u"Atendido"_s);
    const CliRun again = cli({ u"--yes"_s, u"orders"_s, u"attend"_s, u"B1"_s });
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.out,
        QStringList {
            u"[Erro] O pedido : B1 está com o status \"Atendido\" e não está entre os pedidos baixados."_s });

    const CliRun back = cli({ u"--yes"_s, u"orders"_s, u"unattend"_s, u"B1"_s });
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(
        back.out, QStringList { u"[Atenção] Tem certeza que quer retornar esse pedido para baixados????"_s });
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s);
    EXPECT_EQ(cli({ u"--yes"_s, u"orders"_s, u"unattend"_s, u"L1"_s }).status, 1);
    EXPECT_EQ(status(u"L1"_s), u"Liberado"_s);
}

TEST_F(OrderCommands, PrintSavesThePagesThenAsks)
{
    // Both printouts, answered No (without --yes) and Yes: the files are
    // written and the command succeeds either way; only Yes attends.
    const struct {
        QString command;
        bool yes;
        int pages;
    } runs[] = {
        { u"print"_s, false, 1 },
        { u"print-stores"_s, false, 2 },
        { u"print"_s, true, 1 },
        { u"print-stores"_s, true, 2 },
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.command.toStdString() + (r.yes ? " --yes" : ""));
        rows(u"UPDATE PedidosLiberados SET TipoStatus = 'Baixado' WHERE Pedido = 'B1'"_s);
        const QString pdf = folder.file(r.command + (r.yes ? u"-sim.pdf"_s : u"-nao.pdf"_s));
        const QString xlsx = folder.file(r.command + (r.yes ? u"-sim.xlsx"_s : u"-nao.xlsx"_s));
        const QStringList args { u"orders"_s, r.command, u"B1"_s, u"--pdf"_s, pdf, u"--xlsx"_s, xlsx };
        const CliRun run = cli(r.yes ? QStringList { u"--yes"_s } + args : args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, (QStringList { u"pages: %1"_s.arg(r.pages), PrintQuestion }));
        EXPECT_EQ(status(u"B1"_s), r.yes ? u"Atendido"_s : u"Baixado"_s);
        QFile pdfFile(pdf), xlsxFile(xlsx);
        ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdfFile.read(5).startsWith("%PDF-"));
        ASSERT_TRUE(xlsxFile.open(QIODevice::ReadOnly));
        EXPECT_TRUE(xlsxFile.read(2).startsWith("PK"));
    }

    // A file that cannot be written stops before the question.
    rows(u"UPDATE PedidosLiberados SET TipoStatus = 'Baixado' WHERE Pedido = 'B1'"_s);
    const CliRun unwritable
        = cli({ u"--yes"_s, u"orders"_s, u"print"_s, u"B1"_s, u"--pdf"_s, folder.file(u"nada/x.pdf"_s) });
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out.size(), 2);
    EXPECT_TRUE(unwritable.out.last().startsWith(u"[CotaKelvo] "_s));
    EXPECT_EQ(status(u"B1"_s), u"Baixado"_s);
    ASSERT_EQ(cli({ u"--yes"_s, u"orders"_s, u"attend"_s, u"B1"_s }).status, 0);

    // Nothing is prepared or asked for an order the list of "Baixados" does not hold.
    for (const QString &pedido : { u"B1"_s, u"L1"_s }) {
        const CliRun refused = cli({ u"--yes"_s, u"orders"_s, u"print"_s, pedido });
        EXPECT_EQ(refused.status, 1);
        ASSERT_EQ(refused.out.size(), 1);
        EXPECT_TRUE(refused.out.first().endsWith(u"não está entre os pedidos baixados."_s));
    }
    EXPECT_EQ(cli({ u"orders"_s, u"print"_s, u"A1"_s, u"--pdf"_s }).status, 2);
    EXPECT_EQ(cli({ u"orders"_s, u"print"_s, u"A1"_s, u"--png"_s, folder.file(u"x.png"_s) }).status, 2);
}
