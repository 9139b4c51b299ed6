#include "PlotSizeSwap.h"

namespace plotviewer::hpgl {

void PlotSizeSwap::setFrame(bool swappable, double width, double height, int rotation)
{
    std::optional<Point> shift;
    if (swappable) {
        // Where the rotated origin moves when the frame's sides trade places (see
        // CoordinateSystem::rotationMap).
        const double d = height - width;
        switch (rotation) {
        case 90:
            shift = Point { d, 0 };
            break;
        case 180:
            shift = Point { d, -d };
            break;
        case 270:
            shift = Point { 0, -d };
            break;
        default:
            shift = Point {};
            break;
        }
    }
    m_shift = shift;
}

void PlotSizeSwap::checkDrawn(bool windowSet, bool hatched)
{
    const bool placedAlike = m_shift && m_pen == *m_shift && (!windowSet || m_window == *m_shift)
        && (!hatched || m_anchor == *m_shift);
    if (!placedAlike || (m_pageShift && *m_pageShift != *m_shift)) {
        m_pageMixed = true;
        return;
    }
    m_pageShift = m_shift;
}

void PlotSizeSwap::startPage()
{
    m_pageShift.reset();
    m_pageMixed = false;
}

} // namespace plotviewer::hpgl
