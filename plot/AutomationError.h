#pragma once

#include <QString>
#include <stdexcept>

/// Every failure of the automation layer: no server, a server that does not load, an unknown
/// member, wrong arguments, an error raised by the server, a call through an empty reference.
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const QString &description)
        : std::runtime_error(description.toStdString())
    {
    }
    QString description() const { return QString::fromUtf8(what()); }
};
