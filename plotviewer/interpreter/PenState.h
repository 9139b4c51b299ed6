#pragma once
// Where the pen is and whether it touches the paper: what PU, PD, PA, PR and PE change, IN and DF
// reset, and polygon mode puts back when it ends. Positions are in output units.

#include "plotviewer/model/DisplayList.h"

namespace plotviewer::hpgl {

struct PenState
{
    Point position;
    /// Where a label's carriage return goes back to: the last place the pen was moved to.
    Point carriageReturn;
    bool down = false;
    /// PR: coordinates are offsets from the position.
    bool relative = false;

    void moveTo(Point target)
    {
        position = target;
        carriageReturn = target;
    }
    /// IN: the pen up at `origin`, plotting absolute.
    void reset(Point origin)
    {
        *this = {};
        moveTo(origin);
    }
};

} // namespace plotviewer::hpgl
