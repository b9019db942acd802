#pragma once

#include "app/main_workflow.h"

#include <QHash>
#include <QString>

#include <functional>

class AppContext;
class Prompts;
class QDialog;
class QWidget;

// What a working window is built with.
struct WindowEnv {
    AppContext &app;
    Prompts &prompts;
};

// Builds one working window; login is set for the three server windows.
using WindowFactory = std::function<QDialog *(WindowEnv &env, QWidget *owner, const Login *login)>;
using WindowRegistry = QHash<QString, WindowFactory>;

// Each layer adds the windows it owns, by class name.
void registerConfigWindows(WindowRegistry &registry);
void registerQuotationWindows(WindowRegistry &registry);
void registerSubmissionWindows(WindowRegistry &registry);
