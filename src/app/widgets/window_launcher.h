#pragma once

#include "config/login.h"

#include <QString>

class QWidget;

// Creates and shows the working windows of the main window's buttons, so the
// main window can be driven in tests without them.
class WindowLauncher {
public:
    struct LoginAnswer {
        bool lok = false;
        QString edt1;
        QString edt2;
    };

    virtual ~WindowLauncher() = default;

    // Shows the login window prefilled with the stored credentials.
    virtual LoginAnswer runLogin(QWidget *owner, const QString &usuario, const QString &senha) = 0;

    // Whether this build has the window of that class ("TFCotaLib", ...).
    virtual bool has(const QString &windowClass) const = 0;

    // Creates the window of that class, shows it modally and destroys it.
    // login is set for the three server windows. False when this build has
    // no such window.
    virtual bool open(const QString &windowClass, QWidget *owner, const Login *login) = 0;
};
