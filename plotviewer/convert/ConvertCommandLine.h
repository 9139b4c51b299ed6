#pragma once

#include "ConvertOptions.h"

#include <QStringList>

#include <variant>

namespace plotviewer {

/// The converter's command line: what it asks for, or why it cannot be understood.
class ConvertCommandLine
{
public:
    struct Help
    {
        QString text;
    };
    struct Invalid
    {
        QString reason;
    };
    using Result = std::variant<ConvertOptions, Help, Invalid>;

    /// Reads `arguments`, the program name first.
    static Result parse(const QStringList &arguments);
};

} // namespace plotviewer
