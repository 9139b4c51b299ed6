#include "PlotDocument.h"

#include "plotviewer/render/PageExtent.h"

#include <QFileInfo>

#include <algorithm>

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

std::size_t PlotDocument::previewPageIndex() const
{
    const auto showsInk = [](const Page &page) {
        const Rect extent = pageExtent(page);
        const Rect &ink = page.inkBounds;
        return ink.left <= extent.right && ink.right >= extent.left && ink.bottom <= extent.top
            && ink.top >= extent.bottom;
    };
    const auto found = std::find_if(m_plot.pages.begin(), m_plot.pages.end(), showsInk);
    return found != m_plot.pages.end() ? std::size_t(found - m_plot.pages.begin()) : 0;
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

void PlotDocument::addWarnings(const QStringList &warnings)
{
    m_outsideWarnings += warnings;
}

QStringList PlotDocument::warnings() const
{
    QStringList lines = m_outsideWarnings;
    for (const std::string &warning : m_plot.warnings)
        lines << QString::fromStdString(warning);
    return lines + m_printWarnings;
}

} // namespace plotviewer
