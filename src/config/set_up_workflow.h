#pragma once

#include "config/settings.h"
#include "ui/prompts.h"

#include <QString>

// What the set-up window does: store a new user name and password in the
// credential file and in the settings.
class SetUpWorkflow final {
public:
    SetUpWorkflow(Prompts &prompts, QString folder, Settings &settings);

    // "Grava": true when the file was written and the window may close.
    bool save(const QString &user, const QString &password);

private:
    Prompts &m_prompts;
    QString m_folder;
    Settings &m_settings;
};
