#pragma once
// Some CAD exports give PS as width then length. A page that PS cuts but would fit the other way
// round takes the other order when it ends, with its marks as they were drawn: the drawing keeps
// its own scaling points, and only a rotated drawing moves, with the origin that RO puts in a
// corner of the frame. This follows that shift, and whether one shift moves all of a page: the
// marks, and the places they were drawn from (the pen, the window, the hatch anchor), must have
// been made where the same shift applies. A place made where PS cannot swap stays put either way.

#include "plotviewer/model/DisplayList.h"

#include <optional>

namespace plotviewer::hpgl {

class PlotSizeSwap
{
public:
    /// The frame (width x height, before rotation) and the rotation in force; `swappable` when it
    /// is a PS that gave both sides.
    void setFrame(bool swappable, double width, double height, int rotation);

    /// The pen, the window (IW) or the hatch anchor (AC) was put where the current maps say.
    void penPlaced() { m_pen = placedShift(); }
    void windowPlaced() { m_window = placedShift(); }
    void anchorPlaced() { m_anchor = placedShift(); }
    /// Something is drawn from the pen's place, within the window if `windowSet`, and from the
    /// hatch anchor if `hatched`.
    void drawn(bool windowSet, bool hatched)
    {
        if (!m_pageMixed)
            checkDrawn(windowSet, hatched);
    }

    void startPage();
    /// The shift that moves the page's marks onto the swapped frame, when one does.
    std::optional<Point> pageShift() const { return m_pageMixed ? std::nullopt : m_pageShift; }

private:
    void checkDrawn(bool windowSet, bool hatched);
    /// How far a place made now moves when PS swaps: nowhere where it cannot swap.
    Point placedShift() const { return m_shift.value_or(Point {}); }

    std::optional<Point> m_shift; // none where PS is not to be swapped
    // How far the pen, the window and the hatch anchor move with the swap.
    Point m_pen;
    Point m_window;
    Point m_anchor;
    std::optional<Point> m_pageShift;
    bool m_pageMixed = false;
};

} // namespace plotviewer::hpgl
