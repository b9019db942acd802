#pragma once

#include "config/login.h"
#include "ui/prompts.h"

#include <QString>

#include <functional>

class Connectivity;
class HttpTransport;
class TDm;

// What the window "Pedidos Liberados" does: fetch the list of released
// orders into PedidosLiberados, and the items of the selected one into
// PedidoFornc. The selected order is the current row of PedidosLiberados,
// whose list shows every stored order.
class ReleasedOrders final {
public:
    ReleasedOrders(Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor);
    Q_DISABLE_COPY_MOVE(ReleasedOrders)

    // The credentials typed in the login window (xLogin, xSenha).
    void setLogin(const Login &login) { m_login = login; }
    const Login &login() const { return m_login; }

    // Opens PedidosLiberados on every stored order, and leaves PedidoFornc
    // closed on every item. False, with the error shown, when the store
    // cannot be read.
    bool openTables();

    // "Verificar": fetches the list. True when the list was read to its end,
    // also when it was empty.
    bool fetchList();
    // "Baixar": fetches the items of the selected order. True when they were
    // stored and the order became "Baixado".
    bool downloadItems();

    // The body of the last answer (Mt1).
    const QString &lastAnswer() const { return m_lastAnswer; }

private:
    // Adds the order of one list line, or says it is already stored.
    // Stores the item lines of an answer, then runs finish, in one transaction.
    void storeItems(const QStringList &lines, const std::function<void()> &finish);
    // selected: the rowid of the order chosen; its number finds it when gone.
    void markDownloaded(qint64 selected, const QString &pedido);

    Prompts &m_prompts;
    TDm &m_dm;
    Connectivity &m_net;
    HttpTransport &m_http;
    QString m_servidor;
    Login m_login;
    QString m_lastAnswer;
};
