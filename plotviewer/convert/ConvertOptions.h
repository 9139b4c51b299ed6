#pragma once

#include "plotviewer/render/RenderOptions.h"

#include <QPageSize>
#include <QSize>
#include <QString>

namespace plotviewer {

/// What one run of the converter is asked to do.
struct ConvertOptions
{
    enum class Format { Jpeg, Png, Pdf };

    QString input;
    QString output;
    Format format = Format::Png;
    ColourMode colourMode = ColourMode::Colour;
    Placement placement = Placement::Fit;
    QSize pictureSize { 1024, 768 }; // the bound a picture fits within
    QPageSize paper { QPageSize::A4 }; // for PDF output
};

} // namespace plotviewer
