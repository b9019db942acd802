#pragma once

#include "exchange/connectivity.h"
#include "exchange/http_transport.h"
#include "ui/prompts.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

class TDm;

// What every target needs before its first input: the regional settings the
// tests use (Brazilian), so that dates and numbers read as they do there.
void fuzzSetUp();

// The input as the bytes of a server's answer body.
QByteArray inputBytes(const std::uint8_t *data, std::size_t size);
// The answer text the client makes of a body sent as "text/html": its bytes
// as ISO-8859-1 unless a meta element names a charset.
QString answerText(const QByteArray &body);

// Shows nothing and answers Yes, so that a workflow goes the whole way.
class YesPrompts final : public Prompts {
public:
    void message(const QString &, const QString &, PromptIcon) override { }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &) override { }
    QString input(const QString &, const QString &, const QString &, int) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::unique_ptr<LogWindow> createLog() override;
    void previewReport(ReportPreparation &) override { }
};

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

// Answers every request, GET or POST, with the next text of its list (an
// empty answer once the list is used up).
class AnswerTransport final : public HttpTransport {
public:
    std::deque<QString> answers;

    QString get(const QString &) override { return next(); }
    QString post(const QString &, const MultipartForm &form) override;
    void setRequestContentType(const QString &) override { }
    void setWaitHook(std::function<void()>) override { }

private:
    QString next();
};

// A store file in a RAM folder, opened once for the whole run (opening
// derives the key, which costs far more than an input); each input starts
// from empty tables.
class FuzzStore final {
public:
    FuzzStore();
    ~FuzzStore();
    FuzzStore(const FuzzStore &) = delete;
    FuzzStore &operator=(const FuzzStore &) = delete;

    TDm &dm() { return *m_dm; }
    // Closes the four tables, drops their filters and empties them.
    void clear();

private:
    QTemporaryDir m_folder;
    std::unique_ptr<TDm> m_dm;
};

inline const QString FuzzServer = QStringLiteral("http://buyer.example/kelvo");

// The store of a workflow target, emptied for each input.
TDm &emptyFuzzStore();
// fuzzSetUp, and that store opened before the first input: opening derives
// the key, which takes longer than an input may.
void fuzzSetUpWithStore();

// A server window's workflow on the store, logged in, its server answering
// each request with the next of answers; act drives it.
template <class Workflow, class Act> void runWorkflow(TDm &dm, std::deque<QString> answers, Act act)
{
    YesPrompts prompts;
    OnlineNet net;
    AnswerTransport http;
    http.answers = std::move(answers);
    Workflow workflow(prompts, dm, net, http, FuzzServer);
    workflow.setLogin({ QStringLiteral("FORNEC"), QStringLiteral("SENHA") });
    act(workflow);
}

// A released quotation, and a priced item of it, as the road leaves them.
void addQuotation(TDm &dm, const QString &cotacao, const QString &status);
void addQuotationItem(TDm &dm, const QString &cotacao);
// A released order.
void addOrder(TDm &dm, const QString &pedido, const QString &status);

// A folder in RAM for the files an input is written to.
QString ramFolderBase();
