#pragma once

#include <QString>

#include <memory>

namespace buyersim {
class BuyerService;
}

// The HTTP/1.1 front of the simulator, plain or over TLS: one thread, any
// number of kept-alive connections, each request handed to the service.
class BuyerServer final {
public:
    // Binds and listens at once; throws std::runtime_error when it cannot.
    // With a certificate chain and its key (PEM files) it serves HTTPS.
    BuyerServer(buyersim::BuyerService &service, const QString &host, quint16 port,
        const QString &certFile = {}, const QString &keyFile = {});
    ~BuyerServer();
    Q_DISABLE_COPY_MOVE(BuyerServer)

    // "http://127.0.0.1:8080" ("https://..." over TLS), with the port actually bound.
    QString url() const;
    // Serves until SIGINT or SIGTERM.
    void run();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
