#pragma once

#include "config/login.h"
#include "store/quotation_item_rows.h"
#include "ui/prompts.h"

#include <QString>
#include <QStringList>

class Connectivity;
class HttpTransport;
class TDm;

// What "Envia-las Agora?" did, for the command-line tool's exit code.
enum class SubmissionResult {
    Nothing, // the list is empty
    Declined, // No to the confirmation
    NoItems, // the quotation has no items in the store
    Stopped, // a failed check, a failed request or a refused verification
    Refused, // the server refused the submitted items
    Sent,
    SentNotMarked, // the server took the items, the store kept "Enviar"
};

// The workflow of "Contações Prontas para envia-las a Kelvo Autopeças": the
// quotations ready to send and the submission of the selected one.
class QuotationSubmission final {
public:
    QuotationSubmission(Prompts &prompts, TDm &dm, Connectivity &net, HttpTransport &http, QString servidor);
    Q_DISABLE_COPY_MOVE(QuotationSubmission)

    // xLogin and xSenha: the credentials typed at the login.
    void setLogin(const Login &login) { m_login = login; }
    const Login &login() const { return m_login; }

    // "Data atual : " and today's date, day/month/year.
    static QString dataAtual();

    // Lists the quotations in "Enviar" and follows the selected one's items.
    void listReady();
    // The selected quotation changed: its items become the filtered ones.
    void followSelection();
    // "Envia-las Agora?": verifies, posts the items and marks the selected
    // quotation "Enviada".
    SubmissionResult sendSelected();
    // Leaves the list unfiltered and closed.
    void closeList();

    // The selected quotation, empty with an empty list.
    QString selectedCotacao() const;
    // Selects a listed quotation; false when it is not listed.
    bool select(const QString &cotacao);

private:
    SubmissionResult send(const QString &cotacao);
    QString address(const QString &script, const QString &cotacao) const;
    void markSent(const QString &cotacao);

    Prompts &m_prompts;
    TDm &m_dm;
    Connectivity &m_net;
    HttpTransport &m_http;
    QString m_servidor;
    Login m_login;
};

// What the supplier is told when the server took a quotation and the store
// failed to mark it sent.
QString receivedButNotMarkedText(const QString &cotacao, const QString &storeError);

// The records of the filtered items of a table laid out as CotacaoFornc, in
// its current order.
QStringList itemRecords(const QuotationItemSet &items);
