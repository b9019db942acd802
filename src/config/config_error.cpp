#include "config/config_error.h"

ConfigError::ConfigError(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}
