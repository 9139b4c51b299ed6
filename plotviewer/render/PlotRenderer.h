#pragma once

#include "RenderOptions.h"
#include "plotviewer/model/DisplayList.h"

#include <QRectF>

#include <memory>

class QPainter;

namespace plotviewer {

class OutlineFont;

/// Draws display-list pages onto any painter.
class PlotRenderer
{
public:
    explicit PlotRenderer(RenderOptions options = {});
    ~PlotRenderer();
    PlotRenderer(const PlotRenderer &) = delete;
    PlotRenderer &operator=(const PlotRenderer &) = delete;

    /// Draws `page` into `target` (painter coordinates), fitted to it or at actual size for the
    /// painter's device resolution, centred and clipped to `target`. Paints no background.
    void render(QPainter &painter, const Page &page, const QRectF &target) const;

    const RenderOptions &options() const { return m_options; }

private:
    RenderOptions m_options;
    mutable std::unique_ptr<OutlineFont> m_outlineFont; // built on the first label that needs it
};

} // namespace plotviewer
