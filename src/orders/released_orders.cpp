#include "orders/released_orders.h"

#include "common/clock.h"
#include "common/text.h"
#include "exchange/envelope.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_address.h"
#include "exchange/http_transport.h"
#include "orders/order_records.h"
#include "store/batch_write.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/schema.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Erro = u"Erro"_s;
const QString SuccessLine = u"BAIXADO COM SUCESSO"_s;

const ItemLineLayout &itemLayout()
{
    static const ItemLineLayout layout {
        QStringList(orderItemColumns().cbegin(), orderItemColumns().cend()),
        OrderItemKeyPositions,
        OrderItemKeyPositions,
    };
    return layout;
}

} // namespace

ReleasedOrders::ReleasedOrders(
    Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor)
    : m_prompts(prompts)
    , m_dm(dm)
    , m_net(net)
    , m_http(http)
    , m_servidor(std::move(servidor))
{
}

bool ReleasedOrders::openTables()
{
    try {
        // Another window may have left its choice: this list shows all.
        m_dm.chooseOrders(std::nullopt);
        m_dm.PedidosLiberados().open();
        // The items are written by key, not through the set: it is left
        // closed on every item, which is all the next window finds of it.
        m_dm.PedFornec().close();
        m_dm.chooseOrderItems(std::nullopt);
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool ReleasedOrders::fetchList()
{
    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    const auto answer
        = frame.get(m_http, requestAddress(m_servidor, u"getpedlib.php"_s, m_login.login, m_login.senha));
    if (!answer)
        return false;
    m_lastAnswer = *answer;
    const QString stripped = trimControls(*answer);
    if (stripped.isEmpty()) {
        // Nothing released is an answer, not a failure.
        frame.refuse(Atencao, u"Nenhum Pedido foi liberado para você até o momento...."_s);
        return true;
    }
    if (isRefusal(stripped)) {
        frame.refuse(Atencao, u"Nenhuma Pedido liberada  para você... Erro : "_s + *answer);
        return false;
    }

    RowSet<ReleasedOrderRow> &lib = m_dm.PedidosLiberados();
    Database &db = m_dm.Banco();
    const AnswerLines lines(*answer);
    QList<qint64> added;
    qint64 lastSeen = -1; // the list ends on the last order listed
    const bool stored = frame.attempt([&] {
        // The list shows every stored order after a fetch.
        if (!lib.isOpen() || m_dm.ordersChosen()) {
            m_dm.chooseOrders(std::nullopt);
            lib.open();
        }
        const auto show = qScopeGuard([&] {
            db.announceRowsWritten(pedidosLiberadosSchema().name, added);
            if (lastSeen >= 0)
                lib.gotoRowId(lastSeen);
        });
        writeInOneTransaction(db, [&] {
            ReleasedKeys known(db, pedidosLiberadosSchema(), u"Pedido"_s);
            for (const QString &line : lines.lines()) {
                const auto fields = recordFields(line, 1);
                if (!fields)
                    continue;
                const QString pedido = releasedPedido(*fields);
                if (const qint64 row = known.find(pedido); row >= 0) {
                    lastSeen = row;
                    m_prompts.message(Atencao,
                        u"O Pedido : "_s + pedido
                            + u" já está no seu banco, verifique se o itens já foram baixado..."_s);
                    continue;
                }
                const ReleasedOrderLine r = readReleasedOrder(*fields);
                const qint64 row = addReleasedOrder(db, r.pedido, r.tipoStatus, r.dataLiberado, r.horaLib);
                added << row;
                lastSeen = row;
                known.add(r.pedido, row);
            }
        });
    });
    if (!stored)
        return false;
    frame.finish();
    return true;
}

bool ReleasedOrders::downloadItems()
{
    const ReleasedOrderRow *order = m_dm.PedidosLiberados().current();
    if (!order)
        return false;
    const QString pedido = order->pedido;
    const qint64 selected = order->rowid;
    if (order->tipoStatus.toUpper() != u"LIBERADO") {
        m_prompts.message(Erro, u"Este status não permite baixar esse pedido...."_s);
        return false;
    }

    ExchangeFrame frame(m_prompts, m_net, m_servidor);
    if (!frame.begin())
        return false;
    // On No the log window goes with the frame, unseen.
    if (!m_prompts.ask(Atencao, u"Dejesa baixar os itens do pedido : "_s + pedido + u" ??????"_s))
        return false;

    const QString address
        = requestAddress(m_servidor, u"getpedforn.php"_s, m_login.login, m_login.senha, u"ped"_s, pedido);
    const auto answer = frame.get(m_http, address);
    if (!answer)
        return false;
    m_lastAnswer = *answer;
    if (isRefusal(*answer)) {
        frame.refuse(Atencao, u"Nenhuma pedido liberado  para você... Erro : "_s + *answer);
        return false;
    }
    const AnswerLines lines(*answer);
    const QString last = lines.statusLine();
    const bool success = last == SuccessLine;
    // The outcome is stored in the items' transaction: a program stopped
    // halfway leaves the order "Liberado" without items, never with some.
    const bool stored = frame.attempt([&] {
        storeItems(lines.itemLines(), [&] {
            if (success)
                markDownloaded(selected, pedido);
            else
                m_dm.apagar(pedido);
        });
    });
    if (!stored)
        return false;
    if (success)
        m_prompts.message(Atencao, last);
    else
        m_prompts.message(Erro, u"Alguma coisa aconteceu, tente novamente"_s);
    frame.finish();
    return success;
}

void ReleasedOrders::storeItems(const QStringList &lines, const std::function<void()> &finish)
{
    storeItemLines(
        m_dm.Banco(), pedidoForncSchema(), itemLayout(), lines,
        [](const QString &line) -> std::optional<QVariantList> {
            const auto fields = recordFields(line, OrderItemPositions);
            if (!fields)
                return std::nullopt;
            return readOrderItem(*fields);
        },
        finish);
}

void ReleasedOrders::markDownloaded(qint64 selected, const QString &pedido)
{
    setOrderDownloadedAt(m_dm.Banco(), selected, pedido, u"Baixado"_s, Clock::current().now());
}
