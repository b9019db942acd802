#pragma once

#include <QString>

// The three values read at start: the server's base address and the stored
// credentials (in clear). Owned by the data module.
struct Settings {
    QString servidor;
    QString usuario;
    QString senha;
};
