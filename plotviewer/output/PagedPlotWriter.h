#pragma once

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QPageLayout>

#include <optional>

class QPagedPaintDevice;

namespace plotviewer {

/// Paints a plot on a paged device such as a printer or a PDF writer: one device page per plot
/// page, each turned to the page's shape unless an orientation is forced. Fitted pages fill the
/// printable area; pages at actual size are centred on the paper.
class PagedPlotWriter
{
public:
    explicit PagedPlotWriter(RenderOptions options, std::optional<QPageLayout::Orientation> orientation = {});

    /// False when the device refuses to start, to begin a page or to finish.
    bool write(QPagedPaintDevice &device, const DisplayList &plot) const;

private:
    QPageLayout::Orientation orientationFor(const Page &page) const;

    RenderOptions m_options;
    std::optional<QPageLayout::Orientation> m_orientation;
};

} // namespace plotviewer
