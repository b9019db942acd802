#pragma once

#include <QString>

// A fixed message box of the configuration: caption and text, OK button.
struct ConfigMessage {
    QString caption;
    QString text;
};
