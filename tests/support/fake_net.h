#pragma once

#include "exchange/connectivity.h"

#include <functional>

// The connectivity checks of a test, whatever network the machine has: the
// internet is up unless told otherwise, and the server check answers
// `problem`, or, with realServerCheck, really connects to the server.
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
        return realServerCheck ? SystemConnectivity().checkkelvo(servidor) : problem;
    }
};
