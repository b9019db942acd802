#pragma once

#include <QString>
#include <QtGlobal>

// The cipher of the credential file. Action "C" enciphers Src with a random
// offset, "D" deciphers; any other action, or an empty Src, gives an empty
// text. Deciphering text that is not pairs of hexadecimal digits throws
// ConfigError.
QString Crypt(const QString &action, const QString &src);

// The same with the starting offset given, so that encipherment is repeatable.
QString Crypt(const QString &action, const QString &src, quint8 offset);

// The fixed key, 94 characters.
QString cryptKey();
