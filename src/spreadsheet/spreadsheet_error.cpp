#include "spreadsheet/spreadsheet_error.h"

SpreadsheetError::SpreadsheetError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}
