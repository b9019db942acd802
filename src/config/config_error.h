#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A damaged configuration or credential file: the text is what the error box
// shows.
class ConfigError final : public std::exception {
public:
    explicit ConfigError(QString message);
    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
