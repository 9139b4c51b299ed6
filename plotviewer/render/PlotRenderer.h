#pragma once

#include "OutlineFont.h"
#include "RenderOptions.h"
#include "plotviewer/model/DisplayList.h"

#include <QRectF>

class QPainter;

namespace plotviewer {

/// Draws display-list pages onto any painter.
class PlotRenderer
{
public:
    explicit PlotRenderer(RenderOptions options = {});

    /// Draws `page` into `target` (painter coordinates), fitted to it or at actual size for the
    /// painter's device resolution, centred and clipped to `target`. Paints no background. Both
    /// calls return whether curves were drawn in fewer chords than the plot asked for, as finer
    /// ones would not show (see dropsAskedChords).
    bool render(QPainter &painter, const Page &page, const QRectF &target) const;
    /// Draws `page` through `transform`, clipped to `clip` (painter coordinates), such as one
    /// sheet's share of a drawing larger than the paper. Paints no background.
    bool render(
        QPainter &painter, const Page &page, const PageTransform &transform, const QRectF &clip) const;

private:
    RenderOptions m_options;
    mutable OutlineFont m_outlineFont; // glyphs are made, and cached, as labels need them
};

} // namespace plotviewer
