#pragma once

#include "config/login.h"
#include "ui/prompts.h"

#include <QString>

#include <functional>

class Connectivity;
class ExchangeFrame;
class HttpTransport;
class TDm;

// What the window "Cotações Liberadas" does: fetch the list of released
// quotations into CotaLiberadas, and the items of the selected one into
// CotacaoFornc. The selected quotation is the current row of CotaLiberadas.
class ReleasedQuotations final {
public:
    ReleasedQuotations(Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor);
    Q_DISABLE_COPY_MOVE(ReleasedQuotations)

    // The credentials typed in the login window (xLogin, xSenha).
    void setLogin(const Login &login) { m_login = login; }
    const Login &login() const { return m_login; }

    // Opens CotaLiberadas, and CotacaoFornc with its filter switched off.
    // False, with the error shown, when the store cannot be read.
    bool openTables();

    // "Verificar": fetches the list. True when the list was read to its end.
    bool fetchList();
    // "Baixar": fetches the items of the selected quotation. True when they
    // were stored and the quotation became "Baixada".
    bool downloadItems();

    // The body of the last answer (memo1).
    const QString &lastAnswer() const { return m_lastAnswer; }

private:
    // Stores the item lines of an answer, then runs finish, in one
    // transaction; stops with the general error box at the first line that
    // cannot be stored.
    bool storeItems(ExchangeFrame &frame, const QStringList &lines, const std::function<void()> &finish);
    // selected: the rowid of the quotation in CotaLiberadas.
    void markDownloaded(qint64 selected, const QString &cotacao);

    Prompts &m_prompts;
    TDm &m_dm;
    Connectivity &m_net;
    HttpTransport &m_http;
    QString m_servidor;
    Login m_login;
    QString m_lastAnswer;
};
