#pragma once

#include "buyersim/buyer_state.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

// The buyer's six scripts, answered from a BuyerState, with no sockets:
// the HTTP server hands each request here and writes back the answer.
namespace buyersim {

struct HttpRequest {
    QByteArray method;
    QByteArray target; // as on the request line
    QByteArray contentType;
    QByteArray body;
};

struct HttpAnswer {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QString note; // for the server's console, never shown to the client
};

// "OK", "EDM", "EHM" or "CF": may this quotation still be answered at now.
QString deliveryVerdict(const Quotation &cotacao, bool answered, const QDateTime &now);

// Query parameters percent-decoded, each byte taken as ISO-8859-1; the first
// of repeated names wins.
QHash<QString, QString> decodeQuery(const QByteArray &query);

class BuyerService final {
public:
    // statePath empty: changes stay in memory.
    BuyerService(BuyerState &state, QString statePath, QString user, QString password);
    Q_DISABLE_COPY_MOVE(BuyerService)

    HttpAnswer handle(const HttpRequest &request);

private:
    using Query = QHash<QString, QString>;

    HttpAnswer quotationList() const;
    HttpAnswer quotationItems(const Query &query) const;
    HttpAnswer orderList() const;
    HttpAnswer orderItems(const Query &query) const;
    HttpAnswer verification(const Query &query) const;
    HttpAnswer submission(const Query &query, const HttpRequest &request);
    HttpAnswer record(Submission envio);

    BuyerState &m_state;
    // The state file's parts as saved: this service never changes the
    // catalogue and only adds submissions.
    QByteArray m_catalogue;
    QList<QByteArray> m_savedSubmissions;
    QString m_statePath;
    QString m_user;
    QString m_password;
};

} // namespace buyersim
