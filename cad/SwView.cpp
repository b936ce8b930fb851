#include "cad/SwView.h"

namespace qel
{

namespace
{
constexpr DispatchId kGetWindowHandle{2, "GetWindowHandle"};
constexpr DispatchId kRepaint{17, "Repaint"};
} // namespace

HWND CSwView::GetWindowHandle()
{
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(CallLong(kGetWindowHandle)));
}

void CSwView::Repaint()
{
    CallWithoutResult(kRepaint, DispatchKind::Method);
}

} // namespace qel
