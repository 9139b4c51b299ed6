#pragma once

#include "plotviewer/render/RenderOptions.h"

#include <QPageSize>
#include <QString>

namespace plotviewer {

/// How a print job wants its plot drawn, read from the options CUPS hands a filter: the paper
/// (`media` or `PageSize`), grey scale (`print-color-mode=monochrome`, `ColorModel=Gray`), black
/// and white (`print-color-mode=bi-level`) and actual size (`print-scaling=none` or our own
/// `actual-size`). Anything else keeps the defaults: A4, colour, fitted to the page.
struct CupsJobOptions
{
    QPageSize paper { QPageSize::A4 };
    RenderOptions render;

    /// Reads a CUPS option string such as "media=iso_a4_210x297mm print-color-mode=monochrome".
    static CupsJobOptions parse(const QByteArray &options);
};

} // namespace plotviewer
