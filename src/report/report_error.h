#pragma once

#include <QString>

#include <stdexcept>

// A report that cannot be prepared or written; the text is for the user.
class ReportError final : public std::runtime_error {
public:
    explicit ReportError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};
