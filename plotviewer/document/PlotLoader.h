#pragma once

#include "PlotDocument.h"
#include "plotviewer/interpreter/LoadedPens.h"

#include <QString>

class QFile;

#include <optional>

namespace plotviewer {

/// Opens plot files: reads the bytes, refuses them when they are no plot, and has the interpreter turn
/// them into pages.
class PlotLoader
{
public:
    enum class Failure { None, Unreadable, NotAPlot, NothingDrawable };
    struct Result
    {
        std::optional<PlotDocument> document;
        Failure failure = Failure::None;
        QString error; // names the file and the reason
    };

    /// `pens` are the device's, for the pens the plot does not set itself.
    static Result load(const QString &path, const hpgl::LoadedPens &pens = {});
    /// Reads a plot from an open `file`, such as standard input; `name` stands for it in messages.
    static Result read(QFile &file, const QString &name, const hpgl::LoadedPens &pens = {});
};

} // namespace plotviewer
