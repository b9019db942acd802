#pragma once

#include <QByteArray>
#include <QString>

// The text of an answer body: decoded by the charset of the Content-Type
// header, or for an HTML body by a charset declared in a meta element, which
// takes precedence; without a declaration (or with one we cannot decode)
// each byte is one character (ISO-8859-1).
QString httpBodyText(const QByteArray &body, const QByteArray &contentType);
