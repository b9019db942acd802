#pragma once

#include <QString>

#include <stdexcept>

// Every failure of the local store: opening, SQL, posting, conversions.
// The text is what the user sees in the error box.
class StoreError final : public std::runtime_error {
public:
    explicit StoreError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};
