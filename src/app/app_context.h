#pragma once

#include "config/settings.h"
#include "exchange/connectivity.h"
#include "ui/prompts.h"

#include <QString>

#include <memory>

class TDm;

// What one run of the program holds: its folder, the settings read at start,
// the data module with the store, and the connectivity checks.
class AppContext final {
public:
    // net: the connectivity checks to use in place of the system's (tests);
    // it must outlive the context.
    explicit AppContext(QString folder, Connectivity *net = nullptr);
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    // The data module's creation: reads server.new, opens the store, then
    // reads the credential file. Each failure is shown through prompts.
    // Returns false when the program must end (a problem with server.new).
    bool start(Prompts &prompts);

    const QString &folder() const { return m_folder; }
    QString databasePath() const;
    Settings &settings() { return m_settings; }
    TDm &dm() { return *m_dm; }
    bool storeOpen() const { return m_storeOpen; }
    Connectivity &net() { return *m_net; }

private:
    QString m_folder;
    Settings m_settings;
    std::unique_ptr<TDm> m_dm;
    std::unique_ptr<Connectivity> m_systemNet;
    Connectivity *m_net;
    bool m_storeOpen = false;
};

// The name of the store file beside the program.
QString databaseFileName();
