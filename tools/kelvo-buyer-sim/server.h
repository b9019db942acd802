#pragma once

#include <QString>

#include <memory>

namespace buyersim {
class BuyerService;
}

// The HTTP/1.1 front of the simulator: one thread, any number of kept-alive
// connections, each request handed to the service.
class BuyerServer final {
public:
    // Binds and listens at once; throws std::runtime_error when it cannot.
    BuyerServer(buyersim::BuyerService &service, const QString &host, quint16 port);
    ~BuyerServer();
    Q_DISABLE_COPY_MOVE(BuyerServer)

    // "http://127.0.0.1:8080", with the port actually bound.
    QString url() const;
    // Serves until SIGINT or SIGTERM.
    void run();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
