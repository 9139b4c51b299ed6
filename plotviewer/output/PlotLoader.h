#pragma once

#include "PlotDocument.h"

#include <QString>

#include <optional>

namespace plotviewer {

/// Opens plot files: reads the bytes and has the interpreter turn them into pages.
class PlotLoader
{
public:
    enum class Failure { None, Unreadable, NothingDrawable };
    struct Result
    {
        std::optional<PlotDocument> document;
        Failure failure = Failure::None;
        QString error; // names the file and the reason
    };

    static Result load(const QString &path);
};

} // namespace plotviewer
