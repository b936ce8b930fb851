// Where the help tip opens: on the monitor that holds the control it
// explains, within that monitor's work area. Monitors left of or above the
// primary one have negative coordinates. Portable: the tip hands the
// rectangles in.
#pragma once

namespace qel
{

struct STipRect
{
    long left;
    long top;
    long right;
    long bottom;
};

struct STipPoint
{
    long x;
    long y;
};

// The control's top-left corner, moved into the work area where the control
// reaches past its left or top edge.
STipPoint TipAnchor(const STipRect& control, const STipRect& workArea);

// The tip moved left and up, its size kept, so that it ends inside the work
// area's right and bottom edges.
STipRect FitTipInto(STipRect tip, const STipRect& workArea);

} // namespace qel
