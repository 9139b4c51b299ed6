#include "PlotDocument.h"

#include <QFileInfo>

namespace plotviewer {

PlotDocument::PlotDocument(QString filePath, DisplayList plot)
    : m_filePath(std::move(filePath))
    , m_plot(std::move(plot))
{
    Q_ASSERT(!m_plot.pages.empty());
}

QString PlotDocument::fileName() const
{
    return QFileInfo(m_filePath).fileName();
}

Placement PlotDocument::takePrintPlacement()
{
    const bool actualSize = std::exchange(m_actualSizeRequested, false);
    return actualSize ? Placement::ActualSize : Placement::Fit;
}

RenderOptions PlotDocument::pictureOptions() const
{
    RenderOptions options;
    options.colourMode = m_colourMode;
    return options;
}

} // namespace plotviewer
