#pragma once

#include "tarnwick/automation/AutomationError.h"

#include <functional>

/// What `call` threw, or "<no error>" when it threw nothing.
inline QString failureOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AutomationError &error) {
        return error.description();
    }
    return QStringLiteral("<no error>");
}
