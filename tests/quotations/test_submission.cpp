#include "common/clock.h"
#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/raw_server.h"
#include "support/scripted_prompts.h"
#include "support/test_store.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Wire bytes in failures as text.
static void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << QString::fromLatin1(bytes).toStdString() << '"';
}

namespace {

QByteArray answer(const QByteArray &body, const QByteArray &status = "200 OK")
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + body;
}

const QString Cota = u"2020000123"_s;
const QStringList FrameLines { u"log: Internet - ok"_s, u"log: Servidor do kelvo - ok "_s };

// One submission window's worth of workflow against a scripted server.
struct Submission {
    explicit Submission(QList<RawServer::Reply> replies)
        : server(std::move(replies))
        , workflow(prompts, store.dm, net, http, server.url(QString()))
    {
        Clock::setCurrent(&clock);
        workflow.setLogin({ u"FORN1"_s, u"S3NHA"_s });
    }
    ~Submission() { Clock::setCurrent(nullptr); }

    SubmissionResult send(bool confirm = true)
    {
        workflow.listReady();
        prompts.answers = { confirm };
        return workflow.sendSelected();
    }

    FixedClock clock { QDateTime(QDate(2020, 6, 26), QTime(14, 30, 5, 123)) };
    TestStore store;
    RawServer server;
    ScriptedPrompts prompts;
    FakeNet net;
    HttpClient http;
    QuotationSubmission workflow;
};

const QString Question = u"[Atenção] Confirme o envio desta cotação para o Kelvo Autopeças ????"_s;

} // namespace

TEST(Submission, WireBytesOfAVerifiedSubmission)
{
    Submission s({ RawServer::answer(answer(" OK\r\n")), RawServer::answer(answer("Recebidos 2 itens")) });
    s.store.addQuotation(Cota, u"Enviar"_s);
    s.store.addQuotation(u"2020000999"_s, u"Baixada"_s);
    s.store.addItem({ .cotacao = Cota,
        .produto = u"P1"_s,
        .marca = u"ZETA"_s,
        .qtde = 10,
        .valor = 1234.5,
        .obs = u"a|b"_s,
        .similares = u"ç"_s,
        .contato = u"MARIA"_s,
        .condPgto = u"28 DD"_s });
    s.store.addItem({ .cotacao = Cota,
        .produto = u"P2"_s,
        .marca = u"ALFA"_s,
        .qtde = 2.5,
        .obs = u"Ωmega"_s,
        .contato = u"MARIA"_s,
        .condPgto = u"28 DD"_s });
    s.store.addItem({ u"2020000999"_s, u"P3"_s, u"AAA"_s, 1, 1, {}, {} });

    EXPECT_EQ(s.send(), SubmissionResult::Sent);

    const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(s.server.port()) + "\r\n";
    const QByteArray tail
        = "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n";
    const QByteArray body = "----------062620143005123\r\n"
                            "Content-Disposition: form-data; name=\"items1\"\r\n"
                            "Content-Type: text/plain\r\n"
                            "Content-Transfer-Encoding: 8bit\r\n"
                            "\r\n"
                            "MARIA|2020000123|06/26/2020|P2|2.5||28 DD||?mega\r\n"
                            "----------062620143005123\r\n"
                            "Content-Disposition: form-data; name=\"items2\"\r\n"
                            "Content-Type: text/plain\r\n"
                            "Content-Transfer-Encoding: 8bit\r\n"
                            "\r\n"
                            "MARIA|2020000123|06/26/2020|P1|10|1234.5|28 DD|\xE7|a|b\r\n"
                            "----------062620143005123--\r\n";
    const auto requests = s.server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].bytes,
        "GET /net/verificaentrega.php?user=FORN1&pass=S3NHA&cota=2020000123 HTTP/1.1\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\n"
            + host + tail);
    EXPECT_EQ(requests[1].bytes,
        "POST /net/sendcotaforn.php?user=FORN1&pass=S3NHA&cota=2020000123 HTTP/1.0\r\n"
        "Connection: keep-alive\r\n"
        "Content-Type: multipart/form-data; boundary=--------062620143005123\r\n"
        "Content-Length: 403\r\n"
            + host + tail + body);
    EXPECT_EQ(body.size(), 403);

    EXPECT_EQ(s.prompts.transcript(),
        QStringList { Question } + FrameLines + QStringList { u"log: Recebidos 2 itens"_s });
    EXPECT_EQ(s.store.status(Cota), u"Enviada"_s);
    EXPECT_EQ(s.store.status(u"2020000999"_s), u"Baixada"_s);
    EXPECT_TRUE(s.store.dm.CotaLiberada().isEmpty()); // no longer listed
}

TEST(Submission, VerificationOtherThanOkStopsWithItsMessage)
{
    const struct {
        QByteArray answer;
        QString shown;
    } cases[] = {
        { "ok", u"Alguma coisa deu errado na verificação, entre em contato com a KELVO"_s },
        { "EDM\r\n", u"Data de entrega está maior que a data limite. Operação Cancelada...."_s },
        { "EHM", u"Hora de entrega maior que a hora limite. Operação Cancelada...."_s },
        { " CF ", u"Esta cotação já está Fechada.... Operação Cancelada..."_s },
        { "*Cota\xE7\xE3o vencida\r\n", u"Cotação vencida"_s },
    };
    for (const auto &c : cases) {
        Submission s({ RawServer::answer(answer(c.answer)) });
        s.store.addQuotation(Cota, u"Enviar"_s);
        s.store.addItem({ Cota, u"P1"_s, u"X"_s, 1, 2, {}, {} });
        EXPECT_EQ(s.send(), SubmissionResult::Stopped);
        EXPECT_EQ(s.prompts.transcript(), (QStringList { Question, u"[Erro] "_s + c.shown }));
        EXPECT_EQ(s.server.requests().size(), 1);
        EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
    }
}

TEST(Submission, ServerRefusalOfTheItemsKeepsTheQuotationToSend)
{
    Submission s({ RawServer::answer(answer("OK")),
        RawServer::answer(answer("*Item items1 inv\xE1lido: produto repetido\r\n")) });
    s.store.addQuotation(Cota, u"Enviar"_s);
    s.store.addItem({ Cota, u"P1"_s, u"X"_s, 1, 2, {}, {} });
    EXPECT_EQ(s.send(), SubmissionResult::Refused);
    EXPECT_EQ(s.prompts.transcript(),
        (QStringList { Question, u"[Erro] Item items1 inválido: produto repetido"_s }));
    EXPECT_EQ(s.prompts.logsDiscarded, 1);
    EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
}

TEST(Submission, ItemsTakenButNotMarkedSentAreToldPlainly)
{
    Submission s({ RawServer::answer(answer("OK")), RawServer::answer(answer("Recebidos 1 itens")) });
    s.store.addQuotation(Cota, u"Enviar"_s);
    s.store.addItem({ Cota, u"P1"_s, u"X"_s, 1, 2, {}, {} });
    // Only the change of status fails, after the items went out.
    s.store.exec(
        u"CREATE TRIGGER cheio BEFORE UPDATE ON CotaLiberadas BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"_s);

    EXPECT_EQ(s.send(), SubmissionResult::SentNotMarked);
    EXPECT_EQ(s.server.requests().size(), 2);
    const QString told = u"[Erro] A Kelvo recebeu a cotação 2020000123, mas o banco não pôde marcá-la como "
                         "\"Enviada\" (disco cheio). Ela continua na lista; não a envie de novo."_s;
    EXPECT_EQ(s.prompts.transcript(),
        (QStringList { Question, told } + FrameLines + QStringList { u"log: Recebidos 1 itens"_s }));
    EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
    EXPECT_FALSE(s.store.dm.CotaLiberada().isEditing());
}

TEST(Submission, FailedPostShowsTheErrorAndKeepsTheQuotationToSend)
{
    Submission s(
        { RawServer::answer(answer("OK")), RawServer::answer(answer("", "500 Internal Server Error")) });
    s.store.addQuotation(Cota, u"Enviar"_s);
    s.store.addItem({ Cota, u"P1"_s, u"X"_s, 1, 2, {}, {} });
    EXPECT_EQ(s.send(), SubmissionResult::Stopped);
    EXPECT_EQ(s.prompts.transcript(),
        (QStringList { Question, u"[CotaKelvo] HTTP/1.1 500 Internal Server Error."_s }));
    EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
}

TEST(Submission, NothingIsSentWithoutItemsListOrConfirmation)
{
    {
        SCOPED_TRACE("no items in the store");
        Submission s({});
        s.store.addQuotation(Cota, u"Enviar"_s);
        s.store.addItem({ u"2020000999"_s, u"P1"_s, u"X"_s, 1, 2, {}, {} });
        EXPECT_EQ(s.send(), SubmissionResult::NoItems);
        EXPECT_EQ(s.prompts.transcript(),
            QStringList { u"[Atenção] A cotação não tem itens no banco; nada foi enviado."_s });
        EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
        EXPECT_EQ(s.server.connections(), 0);
    }
    {
        SCOPED_TRACE("empty list");
        Submission s({});
        s.store.addQuotation(Cota, u"Baixada"_s);
        EXPECT_EQ(s.send(), SubmissionResult::Nothing);
        EXPECT_TRUE(s.prompts.shown.isEmpty());
        EXPECT_EQ(s.server.connections(), 0);
    }
    {
        SCOPED_TRACE("No to the confirmation");
        Submission s({});
        s.store.addQuotation(Cota, u"Enviar"_s);
        s.store.addItem({ Cota, u"P1"_s, u"X"_s, 1, 2, {}, {} });
        EXPECT_EQ(s.send(false), SubmissionResult::Declined);
        EXPECT_EQ(s.prompts.transcript(), QStringList { Question });
        EXPECT_EQ(s.prompts.logsCreated, 0);
        EXPECT_EQ(s.server.connections(), 0);
        EXPECT_EQ(s.store.status(Cota), u"Enviar"_s);
    }
}

TEST(Submission, ListFollowsTheSelectionAndIsReleasedOnClose)
{
    Submission s({});
    s.store.addQuotation(u"B2"_s, u"Enviar"_s);
    s.store.addQuotation(u"A1"_s, u"Enviar"_s);
    s.store.addQuotation(u"C3"_s, u"ENVIAR"_s);
    s.store.addItem({ u"A1"_s, u"P1"_s, u"X"_s, 1, 2, {}, {} });
    s.store.addItem({ u"B2"_s, u"P2"_s, u"X"_s, 1, 2, {}, {} });
    s.store.addItem({ u"B2"_s, u"P3"_s, u"X"_s, 1, 2, {}, {} });

    s.workflow.listReady();
    Table &list = s.store.dm.CotaLiberada();
    const QuotationItemSet &items = s.store.dm.CotaFornec();
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(s.workflow.selectedCotacao(), u"A1"_s);
    EXPECT_EQ(items.rowCount(), 1);
    ASSERT_TRUE(s.workflow.select(u"B2"_s));
    EXPECT_EQ(items.rowCount(), 2);
    EXPECT_FALSE(s.workflow.select(u"c3"_s));

    s.workflow.closeList();
    EXPECT_FALSE(list.isOpen());
    EXPECT_FALSE(list.isFiltered());
    EXPECT_TRUE(list.filter().isEmpty());
    EXPECT_EQ(s.store.dm.quotationItemsChoice(), std::optional<QString>(u"B2"_s));
}
