#pragma once

#include "tarnwick/base/RuntimeError.h"

/// Every failure of the automation layer: no server, a server that does not load, an unknown
/// member, wrong arguments, an error raised by the server, a call through an empty reference.
class AutomationError : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};
