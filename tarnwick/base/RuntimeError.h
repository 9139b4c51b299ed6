#pragma once

#include <QString>
#include <stdexcept>

/// A failure inside a handler, carrying the description the user is shown.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(const QString &description)
        : std::runtime_error(description.toStdString())
    { }
    QString description() const { return QString::fromUtf8(what()); }
};
