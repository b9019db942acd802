#pragma once

#include <QString>

// The values read at start: the server's base address (the first line of
// server.new, exactly as read) and the stored credentials in clear.
struct Settings {
    QString servidor;
    QString usuario;
    QString senha;
};
