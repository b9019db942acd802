#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A failed request: transport problem, refused address or a status other
// than 2xx. The message is what the general error box shows.
class HttpError final : public std::exception {
public:
    explicit HttpError(QString message);
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};
