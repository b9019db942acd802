#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The configuration files are plain text written by hand or by an installer
// on Windows. A byte-order mark selects UTF-8 or UTF-16; without one the
// bytes are Windows-1252, the code page those files were written in.
QString decodeTextFile(const QByteArray &bytes);

// Splits text into lines at CR LF, a lone CR or a lone LF. A line end at the
// very end opens no further line, so empty text has no lines.
QStringList splitTextLines(const QString &text);

// Files larger than this are read only up to it: only their first lines matter.
inline constexpr qint64 kMaxTextFileBytes = 1024 * 1024;

enum class TextFileStatus { Read, Missing, Unreadable };

struct TextFile {
    TextFileStatus status = TextFileStatus::Missing;
    QStringList lines;
    QString error; // why an existing file could not be read
};

// Loads a file as a list of lines. Nothing of that name, or a directory,
// counts as missing; anything else that is no plain file (a pipe, a device)
// cannot be read, and is not opened, since opening it could wait forever.
TextFile loadTextLines(const QString &path);
