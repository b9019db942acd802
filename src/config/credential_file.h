#pragma once

#include <QString>

#include <optional>

inline constexpr char16_t kCredentialFileName[] = u"userkelvo.new";

struct StoredCredentials {
    QString usuario;
    QString senha;
    // Set when the file is damaged or unreadable; the values deciphered before
    // the faulty line are kept, the others are empty.
    std::optional<QString> error;
};

// Reads "userkelvo.new" in folder. A missing file gives empty values and no
// error.
StoredCredentials readCredentials(const QString &folder);

// Writes the two enciphered lines, each ended by CR LF, replacing an existing
// file in one step and readable by its owner only. Returns an error text when
// the file could not be written (the old file is then untouched).
std::optional<QString> writeCredentials(const QString &folder, const QString &usuario, const QString &senha);
