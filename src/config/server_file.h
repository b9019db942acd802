#pragma once

#include "config/config_message.h"

#include <QString>

#include <optional>

enum class ServerFileStatus { Ok, Missing, Unusable, Blank };

struct ServerFile {
    ServerFileStatus status = ServerFileStatus::Missing;
    // The first line exactly as read, blanks kept; also set when it is blank.
    QString servidor;
    // What to show when the program cannot go on; empty when status is Ok.
    std::optional<ConfigMessage> failure;

    bool ok() const { return status == ServerFileStatus::Ok; }
};

inline constexpr char16_t kServerFileName[] = u"server.new";

// Reads "server.new" in folder. Every status but Ok means the program ends
// without opening the store.
ServerFile readServerFile(const QString &folder);
