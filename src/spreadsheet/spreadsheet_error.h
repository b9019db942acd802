#pragma once

#include <QString>

#include <stdexcept>

// Every failure to write or read a workbook. The text, in the user's
// language, says what went wrong and with which file.
class SpreadsheetError final : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};
