#pragma once

#include "support/fake_net.h"
#include "support/scripted_prompts.h"
#include "support/scripted_transport.h"
#include "support/test_store.h"

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

// A store file in a RAM folder, opened once for the whole run (opening
// derives the key, which costs far more than an input); each input starts
// from empty tables.
class FuzzStore final {
public:
    FuzzStore();
    ~FuzzStore();
    FuzzStore(const FuzzStore &) = delete;
    FuzzStore &operator=(const FuzzStore &) = delete;

    TDm &dm() { return m_store.dm; }
    // Closes the four tables, drops their filters and empties them.
    void clear();

private:
    TestStore m_store;
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
    ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
    FakeNet net;
    ScriptedTransport http;
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
// fuzzSetUp, and a folder of its own in RAM for a target that reads files;
// false when the folder cannot be made.
bool fuzzSetUpWithFolder();
// That folder, and the path of a file in it.
QString fuzzFolder();
QString fuzzFile(const QString &name);
