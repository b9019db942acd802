#pragma once

#include "exchange/connectivity.h"

#include <functional>
#include <optional>

// The connectivity checks of a test, benchmark or tool, whatever network the
// machine has: the internet is up unless told otherwise, and the server check
// answers `problem`, or, with realServerCheck, is the system's own (a real
// connection, also when made without waiting), or, with silentServer, never
// answers.
class FakeNet final : public Connectivity {
public:
    bool connected = true;
    QString problem;
    bool realServerCheck = false;
    int serverChecks = 0;
    std::function<void()> onServerCheck; // runs as the server check starts

    bool IsConnected() override { return connected; }
    QString checkkelvo(const QString &servidor) override
    {
        ++serverChecks;
        if (onServerCheck)
            onServerCheck();
        return realServerCheck ? m_system.checkkelvo(servidor) : problem;
    }

    // When set, the server never answers a check made without waiting, which
    // gives up after this time.
    std::optional<std::chrono::milliseconds> silentServer;
    std::unique_ptr<ServerCheck> startCheckkelvo(const QString &servidor) override
    {
        if (realServerCheck && !silentServer) {
            ++serverChecks;
            if (onServerCheck)
                onServerCheck();
            return m_system.startCheckkelvo(servidor);
        }
        if (!silentServer)
            return Connectivity::startCheckkelvo(servidor);
        ++serverChecks;
        return std::make_unique<ServerCheck>(*silentServer);
    }

private:
    SystemConnectivity m_system;
};
