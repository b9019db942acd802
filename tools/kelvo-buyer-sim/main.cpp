#include "server.h"

#include "buyersim/buyer_service.h"
#include "buyersim/buyer_state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <iostream>

using namespace Qt::StringLiterals;

namespace {

int fail(const QString &message, int code = 1)
{
    std::cerr << "kelvo-buyer-sim: " << message.toStdString() << std::endl;
    return code;
}

// The state file as left by an earlier run, or the demonstration data saved
// to it when it does not exist yet. A file that cannot be read is never
// replaced.
buyersim::BuyerState openState(const QString &path)
{
    if (QFileInfo::exists(path))
        return buyersim::BuyerState::load(path);
    buyersim::BuyerState state = buyersim::demoState(QDate::currentDate());
    state.save(path);
    std::cout << "created " << path.toStdString() << " with demonstration data" << std::endl;
    return state;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"kelvo-buyer-sim"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"A buyer's server for the supplier program: answers getcotalib, getcotaforn, getpedlib, getpedforn, "
        u"verificaentrega and sendcotaforn under /net/ from a JSON state file."_s);
    parser.addHelpOption();
    const QCommandLineOption port(u"port"_s, u"Port to listen on; 0 picks a free one."_s, u"N"_s);
    const QCommandLineOption host(
        u"host"_s, u"Address to listen on (default 127.0.0.1)."_s, u"HOST"_s, u"127.0.0.1"_s);
    const QCommandLineOption stateFile(
        u"state"_s, u"State file (default ./kelvo-buyer-sim.json)."_s, u"FILE"_s, u"kelvo-buyer-sim.json"_s);
    const QCommandLineOption user(u"user"_s, u"Supplier login accepted (default DEMO)."_s, u"U"_s, u"DEMO"_s);
    const QCommandLineOption password(
        u"password"_s, u"Supplier password accepted (default DEMO123)."_s, u"P"_s, u"DEMO123"_s);
    const QCommandLineOption generate(u"generate"_s,
        u"Add a quotation and an order of N items each and print their numbers; without --port, "
        u"exit afterwards."_s,
        u"N"_s);
    const QCommandLineOption tlsCert(u"tls-cert"_s,
        u"Serve HTTPS with this certificate (PEM; the server's first, then any intermediate ones)."_s,
        u"FILE"_s);
    const QCommandLineOption tlsKey(
        u"tls-key"_s, u"The private key of --tls-cert (PEM, unencrypted)."_s, u"FILE"_s);
    parser.addOptions({ port, host, stateFile, user, password, generate, tlsCert, tlsKey });
    parser.process(app);

    if (!parser.isSet(port) && !parser.isSet(generate))
        return fail(u"--port is required (or --generate N alone)"_s, 2);
    bool ok = true;
    const uint portNumber = parser.isSet(port) ? parser.value(port).toUInt(&ok) : 0;
    if (!ok || portNumber > 65535)
        return fail(u"--port wants a number from 0 to 65535"_s, 2);
    const int itemCount = parser.isSet(generate) ? parser.value(generate).toInt(&ok) : 0;
    if (!ok || (parser.isSet(generate) && itemCount < 1) || itemCount > 1000000)
        return fail(u"--generate wants a number of items from 1 to 1000000"_s, 2);
    if (parser.value(user).isEmpty() || parser.value(password).isEmpty())
        return fail(u"--user and --password must not be empty"_s, 2);
    if (parser.value(tlsCert).isEmpty() != parser.value(tlsKey).isEmpty())
        return fail(u"--tls-cert and --tls-key go together"_s, 2);

    const QString statePath = parser.value(stateFile);
    try {
        buyersim::BuyerState state = openState(statePath);
        if (itemCount > 0) {
            const buyersim::GeneratedNumbers numbers
                = buyersim::addGenerated(state, itemCount, QDate::currentDate());
            state.save(statePath);
            std::cout << "generated quotation " << numbers.cotacao.toStdString() << " and order "
                      << numbers.pedido.toStdString() << " with " << itemCount << " items each" << std::endl;
        }
        if (!parser.isSet(port))
            return 0;

        buyersim::BuyerService service(state, statePath, parser.value(user), parser.value(password));
        BuyerServer server(
            service, parser.value(host), quint16(portNumber), parser.value(tlsCert), parser.value(tlsKey));
        std::cout << "listening on " << server.url().toStdString() << std::endl;
        server.run();
        return 0;
    } catch (const buyersim::StateError &error) {
        return fail(error.message());
    } catch (const std::exception &error) {
        return fail(QString::fromUtf8(error.what()));
    }
}
