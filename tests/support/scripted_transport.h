#pragma once

#include "exchange/http_transport.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <deque>

// A buyer's server from a script: each request, GET or POST, gets the answer
// set for its address, else the next of `answers` (an empty answer once they
// run out); the addresses asked for are kept in order.
class ScriptedTransport final : public HttpTransport {
public:
    std::deque<QString> answers;
    QHash<QString, QString> answersTo; // by address, ahead of the queue
    QString failure; // while set, each request throws it
    QStringList addresses; // of every request
    int posts = 0;
    // Each request first waits this many times through the caller's hook,
    // as a slow server makes it wait.
    int waits = 0;
    std::function<void()> waitHook;

    QString get(const QString &address) override;
    // The form's body is built as it would be sent.
    QString post(const QString &address, const MultipartForm &form) override;
    void setRequestContentType(const QString &) override { }
    void setWaitHook(std::function<void()> hook) override { waitHook = std::move(hook); }

private:
    QString answer(const QString &address);
};
