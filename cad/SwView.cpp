#include "cad/SwView.h"

namespace qel
{

namespace
{
enum ViewDispId : DISPID
{
    kGetWindowHandle = 2,
    kRepaint = 17,
};
}

HWND CSwView::GetWindowHandle()
{
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(CallLong(kGetWindowHandle)));
}

void CSwView::Repaint()
{
    CallWithoutResult(kRepaint, DispatchKind::Method);
}

} // namespace qel
