#pragma once

#include "NVO_Errors.h"

#include <QtCore/QStringList>

namespace nvo::test {

/// Catches what reaches the application-wide exception handler while it lives, and
/// restores the default handler afterwards.
class HandlerProbe
{
public:
    HandlerProbe()
    {
        SetApplicationExceptionHandler([this](const std::exception &e) { Messages << QString::fromUtf8(e.what()); });
    }
    ~HandlerProbe() { SetApplicationExceptionHandler({}); }
    HandlerProbe(const HandlerProbe &) = delete;
    HandlerProbe &operator=(const HandlerProbe &) = delete;

    QStringList Messages;
};

} // namespace nvo::test
