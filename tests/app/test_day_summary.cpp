#include "app/app_context.h"
#include "app/day_summary.h"
#include "common/clock.h"
#include "quotations/quotation_deadline.h"
#include "store/schema.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/scripted_prompts.h"
#include "support/store_test.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

namespace {

const QDateTime N(QDate(2026, 12, 10), QTime(12, 0, 0));

// Released quotations around N at every step of their answer, stored as
// the list download stores them (ISO date and time texts), and orders at
// every status.
struct DayStore : StoreTest {
    DayStore()
    {
        const auto quotation = [this](const char *cotacao, const char *status, QVariant date, QVariant time) {
            exec(
                u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora) VALUES (?, ?, ?, ?)"_s,
                { QString::fromLatin1(cotacao), status ? QVariant(QString::fromLatin1(status)) : QVariant(),
                    date, time });
        };
        const QVariant none;
        quotation("A", "Baixada", u"2026-12-10"_s, u"12:00:00"_s); // at N
        quotation("B", "ABERTA", u"2026-12-11"_s, u"12:00:00"_s); // N + 24 h
        quotation("C", "Enviar", u"2026-12-10"_s, u"11:59:59"_s); // N - 1 s
        quotation("D", "Enviada", u"2026-12-10"_s, u"13:00:00"_s);
        quotation("E", "ENVIADA", u"2026-12-09"_s, u"10:00:00"_s);
        quotation("F", "Baixada", u"2026-12-10"_s, none); // to the end of the day
        quotation("G", "Baixada", none, u"12:00:00"_s); // no deadline
        quotation("H", "Baixada", u"2026-12-11"_s, u"11:59"_s); // written without seconds
        quotation("I", "FECHADA", u"2026-12-01"_s, u"09:00:00"_s); // a status of the server's
        quotation("K", nullptr, u"2026-12-10"_s, u"12:30:00"_s); // no status
        addQuotation(u"J"_s, u"Enviar"_s); // as a window adds it: 05/06/2020 14:30
        for (const char *status : { "Baixado", "Baixado", "Atendido", "Liberado", "BAIXADO" })
            exec(u"INSERT INTO PedidosLiberados (Pedido, TipoStatus) VALUES (?, ?)"_s,
                { QString::number(count(u"PedidosLiberados"_s)), QString::fromLatin1(status) });
    }
};

} // namespace

TEST_F(DayStore, CountsAroundTheDeadlines)
{
    struct Case {
        QDateTime now;
        qint64 due, overdue;
        const char *dueWindow, *overdueWindow;
    };
    const Case cases[] = {
        // C has a second short of 24 h left, A exactly 24 h: only C is due.
        { N.addSecs(-24 * 3600), 1, 2, "TEnviaCotacao", "TFCotaLib" },
        // A is due to the second and not yet past; B exactly 24 h away is not.
        { N, 4, 3, "TFCotaLib", "TFCotaLib" },
        { N.addSecs(1), 4, 4, "TFCotaLib", "TFCotaLib" },
        // Past every deadline but those of tomorrow.
        { QDateTime(QDate(2026, 12, 11), QTime(0, 0, 0)), 2, 6, "TFCotaLib", "TFCotaLib" },
        // Before all but J: nothing due, one priced quotation overdue.
        { QDateTime(QDate(2026, 11, 1), QTime(8, 0, 0)), 0, 1, "TPrecoCota", "TEnviaCotacao" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.now.toString(Qt::ISODate).toStdString());
        const DayCounts counts = countDay(dm.Banco(), c.now);
        EXPECT_EQ(counts.dueSoon.total, c.due);
        EXPECT_EQ(counts.overdue.total, c.overdue);
        EXPECT_EQ(dayCountWindow(DayCount::DueSoon, counts), QString::fromLatin1(c.dueWindow));
        EXPECT_EQ(dayCountWindow(DayCount::Overdue, counts), QString::fromLatin1(c.overdueWindow));
        EXPECT_EQ(counts.ordersToAttend, 2); // "Baixado" exactly, as the orders window lists them

        // The column "Prazo" of the quotation windows tells the same: red
        // and not "vencida", or "vencida".
        qint64 red = 0, past = 0;
        for (const QuotationDeadline &q : pendingDeadlines(dm.Banco())) {
            if (!q.deadline)
                continue;
            const qint64 left = minutesLeft(*q.deadline, c.now);
            past += left < 0;
            red += left >= 0 && prazoUrgent(left);
        }
        EXPECT_EQ(counts.dueSoon.total, red);
        EXPECT_EQ(counts.overdue.total, past);
    }
}

TEST_F(DayStore, StepsOfTheCountedQuotations)
{
    // At N: due are A, F, H (Baixada) and K (no status); overdue C and J
    // (Enviar) and I (the server's own status).
    const DayCounts counts = countDay(dm.Banco(), N);
    EXPECT_EQ(counts.dueSoon.baixada, 3);
    EXPECT_EQ(counts.dueSoon.enviar, 0);
    EXPECT_EQ(counts.overdue.baixada, 0);
    EXPECT_EQ(counts.overdue.enviar, 2);
}

TEST(DaySummary, TextsInSingularAndPlural)
{
    const auto counts = [](qint64 n) {
        DayCounts c;
        c.dueSoon.total = n;
        c.overdue.total = n;
        c.ordersToAttend = n;
        return c;
    };
    struct Case {
        qint64 n;
        QString due, overdue, orders;
    };
    const Case cases[] = {
        { 0, u"Nenhuma cotação vence em 24 horas"_s, u"Nenhuma cotação vencida sem envio"_s,
            u"Nenhum pedido aguarda atendimento"_s },
        { 1, u"1 cotação vence em 24 horas"_s, u"1 cotação vencida sem envio"_s,
            u"1 pedido aguarda atendimento"_s },
        { 2, u"2 cotações vencem em 24 horas"_s, u"2 cotações vencidas sem envio"_s,
            u"2 pedidos aguardam atendimento"_s },
        { 1234, u"1.234 cotações vencem em 24 horas"_s, u"1.234 cotações vencidas sem envio"_s,
            u"1.234 pedidos aguardam atendimento"_s },
    };
    for (const Case &c : cases) {
        EXPECT_EQ(dayCountText(DayCount::DueSoon, counts(c.n)), c.due);
        EXPECT_EQ(dayCountText(DayCount::Overdue, counts(c.n)), c.overdue);
        EXPECT_EQ(dayCountText(DayCount::OrdersToAttend, counts(c.n)), c.orders);
    }
    EXPECT_EQ(dayCountLines(counts(1234)),
        (QStringList {
            u"vencem em 24 horas: 1234"_s, u"vencidas sem envio: 1234"_s, u"pedidos a atender: 1234"_s }));
}

TEST(DaySummary, TheProgramsCountsComeFromItsStoreByTheClock)
{
    FixedClock clock { N };
    Clock::setCurrent(&clock);
    const auto systemClock = qScopeGuard([] { Clock::setCurrent(nullptr); });
    TempFolder dir;
    dir.write(u"server.new"_s, "http://127.0.0.1:1/\r\n");
    ScriptedPrompts prompts;
    FakeNet net;
    {
        AppContext app(dir.path(), &net);
        ASSERT_TRUE(app.start(prompts)); // no store: the start says so and goes on
        EXPECT_FALSE(countDay(app).has_value());
    }
    createDatabase(dir.file(u"CotaKelvo.new"_s));
    AppContext app(dir.path(), &net);
    ASSERT_TRUE(app.start(prompts));
    app.dm().Banco().execute(u"INSERT INTO CotaLiberadas (Cotacao, TipoStatus, DataValidade, AteHora) "
                             "VALUES ('C1', 'Baixada', '2026-12-10', '23:00:00')"_s);
    const std::optional<DayCounts> counts = countDay(app);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(counts->dueSoon.total, 1);
    clock.set(N.addDays(1));
    EXPECT_EQ(countDay(app)->overdue.total, 1);
}
