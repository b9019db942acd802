#pragma once

#include "ui/prompts.h"

#include <QString>

#include <exception>

// The message of the error that running the code throws, as the error box
// would show it before its "." is added; "(no error)" when nothing is thrown.
template <class Code> QString thrownMessage(Code &&code)
{
    try {
        code();
    } catch (const std::exception &e) {
        return errorText(e);
    }
    return QStringLiteral("(no error)");
}
