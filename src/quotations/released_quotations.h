#pragma once

#include "app/connectivity.h"
#include "ui/prompts.h"

#include <QString>
#include <QVariant>

#include <functional>

class ExchangeFrame;
class TDm;

// What the window "Cotações Liberadas" does: fetch the list of released
// quotations into CotaLiberadas, and the items of the selected one into
// CotacaoFornc. The selected quotation is the current row of CotaLiberadas.
class ReleasedQuotations final {
public:
    // Sends a GET to the address through the window's HTTP client and
    // returns the whole answer; throws on any transport or HTTP failure.
    using HttpGet = std::function<QString(const QString &address)>;

    ReleasedQuotations(Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, HttpGet get);
    Q_DISABLE_COPY_MOVE(ReleasedQuotations)

    // The credentials typed in the login window (xLogin, xSenha).
    void setCredentials(const QString &xLogin, const QString &xSenha);

    // Opens CotaLiberadas, and CotacaoFornc with its filter switched off.
    // False, with the error shown, when the store cannot be read.
    bool FormShow();

    // "Verificar": fetches the list. True when the list was read to its end.
    bool btn1Click();
    // "Baixar": fetches the items of the selected quotation. True when they
    // were stored and the quotation became "Baixada".
    bool btn2Click();

    // The body of the last answer (memo1).
    QString memo1() const { return m_memo1; }

    // Background and font of a row of the list by its status: sky blue bold
    // for "ABERTA", light green bold for "BAIXADA" (any case).
    static QVariant rowStyle(const QString &tipoStatus, int role);

private:
    // Stores the item lines of an answer in one transaction; stops with the
    // general error box at the first line that cannot be stored.
    bool storeItems(ExchangeFrame &frame, const QStringList &lines);

    Prompts &m_prompts;
    TDm &m_dm;
    Connectivity &m_net;
    QString m_servidor;
    HttpGet m_get;
    QString m_xLogin;
    QString m_xSenha;
    QString m_memo1;
};
