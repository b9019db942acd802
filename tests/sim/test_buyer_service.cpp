#include "buyersim/buyer_service.h"

#include "common/clock.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace buyersim;

namespace {

const QDate today(2026, 6, 26);
const QByteArray credentials = "user=DEMO&pass=DEMO123";
const QByteArray boundary = "--------062620103045123";

// The demonstration data dated today at ten in the morning: quotation 101
// open for a week, 103 expired, 104 due today at midnight, 105 closed.
class BuyerServiceTest : public ::testing::Test {
protected:
    BuyerServiceTest() { Clock::setCurrent(&m_clock); }
    ~BuyerServiceTest() override { Clock::setCurrent(nullptr); }

    HttpAnswer get(const QByteArray &target) { return m_service.handle({ "GET", target, {}, {} }); }

    HttpAnswer post(const QByteArray &cota, const QList<QByteArray> &items)
    {
        QByteArray body;
        for (qsizetype k = 0; k < items.size(); ++k)
            body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"items"
                + QByteArray::number(k + 1)
                + "\"\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" + items.at(k)
                + "\r\n";
        if (!items.isEmpty())
            body += "--" + boundary + "--\r\n";
        return m_service.handle({ "POST", "/net/sendcotaforn.php?" + credentials + "&cota=" + cota,
            "multipart/form-data; boundary=" + boundary, body });
    }

    static QByteArray item(
        const QByteArray &cota, const QByteArray &produto, const QByteArray &valor = "12.5")
    {
        return "MARCOS|" + cota + "|06/26/2026|" + produto + "|10|" + valor + "|28 DDL||observa\xE7\xE3o";
    }

    QByteArray verdict(const QByteArray &cota)
    {
        return get("/net/verificaentrega.php?" + credentials + "&cota=" + cota).body;
    }

    FixedClock m_clock { QDateTime(today, QTime(10, 0)) };
    TempFolder m_folder;
    BuyerState m_state = demoState(today);
    BuyerService m_service { m_state, m_folder.file(u"state.json"_s), u"DEMO"_s, u"DEMO123"_s };
};

} // namespace

TEST(DeliveryVerdict, FollowsTheLimitDateAndHour)
{
    Quotation cotacao;
    cotacao.status = u"ABERTA"_s;
    cotacao.validade = today;
    cotacao.ateHora = QTime(17, 0);
    struct Case {
        QDateTime now;
        bool answered;
        const char *status;
        bool noHour;
        const char *expected;
    };
    const Case cases[] = {
        { QDateTime(today.addDays(-1), QTime(23, 0)), false, "ABERTA", false, "OK" },
        { QDateTime(today, QTime(17, 0, 59)), false, "ABERTA", false, "OK" },
        { QDateTime(today, QTime(17, 1)), false, "ABERTA", false, "EHM" },
        { QDateTime(today, QTime(23, 59)), false, "ABERTA", true, "OK" },
        { QDateTime(today.addDays(1), QTime(8, 0)), false, "ABERTA", false, "EDM" },
        { QDateTime(today.addDays(1), QTime(8, 0)), false, "ABERTA", true, "EDM" },
        { QDateTime(today, QTime(9, 0)), false, "aberta", false, "OK" },
        { QDateTime(today, QTime(9, 0)), true, "ABERTA", false, "CF" },
        { QDateTime(today, QTime(9, 0)), false, "FECHADA", false, "CF" },
        { QDateTime(today.addDays(1), QTime(8, 0)), true, "ABERTA", false, "CF" },
    };
    for (const Case &c : cases) {
        cotacao.status = QString::fromLatin1(c.status);
        cotacao.ateHora = c.noHour ? QTime() : QTime(17, 0);
        EXPECT_EQ(deliveryVerdict(cotacao, c.answered, c.now), QString::fromLatin1(c.expected))
            << c.now.toString().toStdString() << ' ' << c.status << (c.answered ? " answered" : "");
    }
}

TEST(DecodeQuery, PercentEscapesAreIso88591Bytes)
{
    const auto query = decodeQuery("user=JO%C3O&pass=A%26B%20%e7&cota=12%&cota=99&flag");
    EXPECT_EQ(query.value(u"user"_s), u"JOÃO"_s);
    EXPECT_EQ(query.value(u"pass"_s), u"A&B ç"_s);
    EXPECT_EQ(query.value(u"cota"_s), u"12%"_s);
    EXPECT_TRUE(query.contains(u"flag"_s));
}

TEST_F(BuyerServiceTest, EveryScriptRefusesWrongCredentials)
{
    for (const char *script :
        { "getcotalib", "getcotaforn", "getpedlib", "getpedforn", "verificaentrega", "sendcotaforn" }) {
        for (const QByteArray &query :
            { QByteArray("user=DEMO&pass=demo123"), QByteArray("user=DEMO"), QByteArray("pass=DEMO123") }) {
            const HttpAnswer answer
                = get("/net/" + QByteArray(script) + ".php?" + query + "&cota=2026000101");
            EXPECT_EQ(answer.status, 200);
            EXPECT_EQ(answer.body, QByteArray("*Usu\xE1rio ou senha inv\xE1lidos"))
                << script << ' ' << query.data();
        }
    }
}

TEST_F(BuyerServiceTest, RoutesByTheScriptAfterNet)
{
    EXPECT_EQ(get("/compras/kelvo/net/getpedlib.php?" + credentials).status, 200);
    EXPECT_EQ(get("//net/getpedlib.php?" + credentials).status, 200);
    EXPECT_EQ(get("http://buyer.example:8080/net/getpedlib.php?" + credentials).status, 200);
    EXPECT_EQ(get("/net/outro.php?" + credentials).status, 404);
    EXPECT_EQ(get("/getpedlib.php?" + credentials).status, 404);
    EXPECT_EQ(m_service.handle({ "DELETE", "/net/getpedlib.php?" + credentials, {}, {} }).status, 405);
}

TEST_F(BuyerServiceTest, ListsAndItemsAnswerLatin1Records)
{
    const HttpAnswer list = get("/net/getcotalib.php?" + credentials);
    EXPECT_EQ(list.contentType, "text/html; charset=ISO-8859-1");
    const QList<QByteArray> records = list.body.split('\n');
    ASSERT_EQ(records.size(), 6); // five records and the text after the last CR LF
    EXPECT_EQ(records.at(0), "03/07/2026|2026000101|17:00|ABERTA|25/06/2026\r");
    EXPECT_EQ(records.at(5), "");

    const QByteArray items = get("/net/getcotaforn.php?" + credentials + "&cota=2026000101").body;
    EXPECT_TRUE(items.endsWith("\r\nBAIXADA COM SUCESSO\r\n"));
    EXPECT_EQ(items.count("\r\n"), 13);
    EXPECT_TRUE(items.contains("VELA DE IGNI\xC7\xC3O"));

    const QByteArray order = get("/net/getpedforn.php?" + credentials + "&ped=2026000201").body;
    EXPECT_TRUE(order.endsWith("\r\nBAIXADO COM SUCESSO\r\n"));
    EXPECT_EQ(order.count("\r\n"), 9);

    EXPECT_EQ(get("/net/getcotaforn.php?" + credentials + "&cota=999").body,
        QByteArray("*Cota\xE7\xE3o 999 n\xE3o encontrada"));
    EXPECT_EQ(get("/net/getpedforn.php?" + credentials + "&ped=999").body,
        QByteArray("*Pedido 999 n\xE3o encontrado"));
}

TEST_F(BuyerServiceTest, EmptyListsAnswerAnEmptyBody)
{
    m_state.cotacoes.clear();
    m_state.pedidos.clear();
    EXPECT_EQ(get("/net/getcotalib.php?" + credentials).body, QByteArray());
    EXPECT_EQ(get("/net/getpedlib.php?" + credentials).body, QByteArray());
}

TEST_F(BuyerServiceTest, VerificationOfTheDemoQuotations)
{
    EXPECT_EQ(verdict("2026000101"), "OK");
    EXPECT_EQ(verdict("2026000103"), "EDM");
    EXPECT_EQ(verdict("2026000104"), "EHM");
    EXPECT_EQ(verdict("2026000105"), "CF");
    EXPECT_TRUE(verdict("2026000999").startsWith('*'));
}

TEST_F(BuyerServiceTest, SubmissionIsRecordedSavedAndClosesTheQuotation)
{
    const HttpAnswer answer
        = post("2026000101", { item("2026000101", "0010230"), item("2026000101", "0010247", "") });
    EXPECT_EQ(answer.body, QByteArray("Recebidos 2 itens da cota\xE7\xE3o 2026000101"));

    ASSERT_EQ(m_state.envios.size(), 1);
    const Submission &envio = m_state.envios.first();
    EXPECT_EQ(envio.cotacao, u"2026000101"_s);
    EXPECT_EQ(envio.recebida, m_clock.now());
    ASSERT_EQ(envio.itens.size(), 2);
    EXPECT_EQ(envio.itens.at(0).valor, u"12.5"_s);
    EXPECT_EQ(envio.itens.at(1).valor, QString());
    EXPECT_EQ(envio.itens.at(1).obs, u"observação"_s);

    const BuyerState saved = BuyerState::load(m_folder.file(u"state.json"_s));
    ASSERT_EQ(saved.envios.size(), 1);
    EXPECT_EQ(saved.envios.first().itens.at(1).obs, u"observação"_s);

    EXPECT_EQ(verdict("2026000101"), "CF");
    EXPECT_TRUE(post("2026000101", { item("2026000101", "0010230") }).body.startsWith('*'));
    EXPECT_EQ(m_state.envios.size(), 1);

    // A later submission is added to the file beside the first one, and the
    // quotations are saved as they were.
    EXPECT_FALSE(post("2026000102", {}).body.startsWith('*'));
    const BuyerState both = BuyerState::load(m_folder.file(u"state.json"_s));
    ASSERT_EQ(both.envios.size(), 2);
    EXPECT_EQ(both.envios.at(0).itens.size(), 2);
    EXPECT_EQ(both.envios.at(1).cotacao, u"2026000102"_s);
    EXPECT_EQ(both.toJson(), m_state.toJson());
}

TEST_F(BuyerServiceTest, EmptyFormIsAnAnswerOfNoItems)
{
    EXPECT_EQ(post("2026000102", {}).body, QByteArray("Recebidos 0 itens da cota\xE7\xE3o 2026000102"));
    ASSERT_EQ(m_state.envios.size(), 1);
    EXPECT_TRUE(m_state.envios.first().itens.isEmpty());
}

TEST_F(BuyerServiceTest, BadSubmissionsRecordNothing)
{
    struct Case {
        QByteArray cota;
        QList<QByteArray> items;
        QByteArray expected;
    };
    const Case cases[] = {
        { "2026000101", { item("2026000101", "0010230"), "MARCOS|2026000101|06/26/2026|0010247|10" },
            "*Item items2 inv\xE1lido: esperados 9 campos" },
        { "2026000101", { item("2026000101", "0010230") + "|extra" }, "*Item items1 inv\xE1lido" },
        { "2026000101", { item("2026000102", "0010230") },
            "*Item items1 inv\xE1lido: cota\xE7\xE3o 2026000102 difere" },
        { "2026000101", { item("2026000101", "9999999") },
            "*Item items1 inv\xE1lido: produto 9999999 n\xE3o pertence" },
        { "2026000101", { item("2026000101", "0010230"), item("2026000101", "0010230") },
            "*Item items2 inv\xE1lido" },
        { "2026000103", { item("2026000103", "0010281") }, "*O prazo da cota\xE7\xE3o 2026000103 terminou" },
        { "2026000105", { item("2026000105", "0010247") }, "*A cota\xE7\xE3o 2026000105 est\xE1 fechada" },
        { "2026000999", {}, "*Cota\xE7\xE3o 2026000999 n\xE3o encontrada" },
    };
    for (const Case &c : cases) {
        const QByteArray body = post(c.cota, c.items).body;
        EXPECT_TRUE(body.startsWith(c.expected)) << body.toStdString();
    }
    const HttpAnswer noBoundary = m_service.handle({ "POST",
        "/net/sendcotaforn.php?" + credentials + "&cota=2026000101", "multipart/form-data", "--x\r\n" });
    EXPECT_TRUE(noBoundary.body.startsWith("*Formul\xE1rio inv\xE1lido")) << noBoundary.body.toStdString();

    EXPECT_TRUE(m_state.envios.isEmpty());
    EXPECT_EQ(verdict("2026000101"), "OK");
}
