#pragma once

#include "plotviewer/document/PenTableFile.h"
#include "plotviewer/render/RenderOptions.h"

#include <QPageSize>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace plotviewer {

/// What one run of the converter is asked to do: one plot to one file, or many plots into a folder.
struct ConvertOptions
{
    enum class Format { Jpeg, Png, Pdf, Svg };

    QStringList inputs;
    QString output; // the file for one input
    QString outputFolder; // set for a batch: each input becomes a file of its own name there
    Format format = Format::Png;
    int jobs = 1; // conversions run at once in a batch
    ColourMode colourMode = ColourMode::Colour;
    Placement placement = Placement::Fit;
    QSize pictureSize { 1024, 768 }; // the bound a picture fits within
    QPageSize paper { QPageSize::A4 }; // for PDF output
    bool paperChosen = false; // an SVG then takes the paper's size, not the plot's own
    QString penTableFile; // the settings file whose [Pens] section to read, if any
    PenTableFile penTable; // read from it before the first plot

    bool isBatch() const { return !outputFolder.isEmpty(); }
};

} // namespace plotviewer
