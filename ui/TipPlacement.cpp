#include "ui/TipPlacement.h"

namespace qel
{

STipPoint TipAnchor(const STipRect& control, const STipRect& workArea)
{
    return STipPoint{control.left < workArea.left ? workArea.left : control.left,
                     control.top < workArea.top ? workArea.top : control.top};
}

STipRect FitTipInto(STipRect tip, const STipRect& workArea)
{
    if (tip.bottom > workArea.bottom)
    {
        tip.top -= tip.bottom - workArea.bottom;
        tip.bottom = workArea.bottom;
    }
    if (tip.right > workArea.right)
    {
        tip.left -= tip.right - workArea.right;
        tip.right = workArea.right;
    }
    return tip;
}

} // namespace qel
