#pragma once

#include <QString>

// The credentials typed at the login window, which a window that talks to the
// server puts in every request (its xLogin and xSenha); the stored ones only
// prefill that window.
struct Login {
    QString login;
    QString senha;
};
