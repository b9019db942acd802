#include "exchange/http_error.h"

HttpError::HttpError(QString message)
    : m_message(std::move(message))
    , m_what(m_message.toUtf8())
{
}
