#include "ui/HelpToolTip.h"

#include <algorithm>
#include <cstring>

#include <commctrl.h>

#include "common/WinOwners.h"
#include "ui/TipPlacement.h"

namespace qel
{

namespace
{

// The single-byte non-client metrics record as the platform first defined
// it; later headers add a field that older systems refuse.
constexpr UINT kNonClientMetricsSize = 340;

bool Outside(POINT point, const RECT& rect)
{
    return point.x < rect.left || point.x > rect.right || point.y < rect.top ||
           point.y > rect.bottom;
}

STipRect ToTipRect(const RECT& rect)
{
    return STipRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The work area (the screen without the taskbar) of the monitor that holds
// most of rect, or of the nearest one.
RECT WorkAreaOf(const RECT& rect)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A click or key press that ends an open tip: the user has moved on.
bool EndsTip(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return true;
    default:
        return false;
    }
}

BOOL CALLBACK TakeTip(HWND window, LPARAM found)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::strcmp(name, CHelpToolTip::kClassName) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Width and height of text in dc: each line measured up to and including its
// line feed, the last one without terminator.
SIZE MeasureText(HDC dc, const std::string& text, int lineHeight)
{
    SIZE extent = {0, lineHeight};
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\n')
            continue;
        extent.cy += lineHeight;
        SIZE line = {};
        GetTextExtentPoint32A(dc, text.c_str() + lineStart, static_cast<int>(i + 1 - lineStart),
                              &line);
        extent.cx = std::max(extent.cx, line.cx);
        lineStart = i + 1;
    }
    SIZE last = {};
    GetTextExtentPoint32A(dc, text.c_str() + lineStart, static_cast<int>(text.size() - lineStart),
                          &last);
    extent.cx = std::max(extent.cx, last.cx);
    return extent;
}

// Saves a device context's colours and background mode and puts them back.
class CTextColours
{
public:
    explicit CTextColours(HDC dc)
        : m_dc(dc), m_back(SetBkColor(dc, GetSysColor(COLOR_INFOBK))),
          m_text(SetTextColor(dc, GetSysColor(COLOR_INFOTEXT))), m_mode(SetBkMode(dc, TRANSPARENT))
    {
    }
    CTextColours(const CTextColours&) = delete;
    CTextColours& operator=(const CTextColours&) = delete;
    ~CTextColours()
    {
        SetBkMode(m_dc, m_mode);
        SetTextColor(m_dc, m_text);
        SetBkColor(m_dc, m_back);
    }

private:
    HDC m_dc;
    COLORREF m_back;
    COLORREF m_text;
    int m_mode;
};

// BeginPaint and EndPaint as a pair.
class CPaint
{
public:
    explicit CPaint(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    CPaint(const CPaint&) = delete;
    CPaint& operator=(const CPaint&) = delete;
    ~CPaint() { EndPaint(m_window, &m_paint); }
    HDC Dc() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
    HDC m_dc;
};

} // namespace

CHelpToolTip::CHelpToolTip()
{
    InitCommonControls();
}

void CHelpToolTip::ShowTip(const char* text, HWND control)
{
    if (text == nullptr || !IsWindow(control))
        return;
    Close();
    GetCursorPos(&m_ptPos);
    RECT rect = {};
    GetWindowRect(control, &rect);
    m_workArea = WorkAreaOf(rect);
    if (Outside(m_ptPos, rect))
    {
        // Asked with F1 while the mouse is elsewhere: the tip opens at the control.
        const STipPoint anchor = TipAnchor(ToTipRect(rect), ToTipRect(m_workArea));
        m_ptPos = {anchor.x, anchor.y};
    }
    m_text = text;
    m_bHasText = true;

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &CHelpToolTip::TipWndProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = m_pszClassName;
    if (RegisterClassExA(&windowClass) == 0)
        return;
    POINT mouse = {};
    GetCursorPos(&mouse);
    // The text is also the window's name, so that screen readers can say it.
    // Owned by the control's dialog: no taskbar button, and it goes with it.
    m_hWnd =
        CreateWindowExA(0, m_pszClassName, m_text.c_str(), WS_POPUP | WS_BORDER, mouse.x, mouse.y,
                        10, 10, GetAncestor(control, GA_ROOT), nullptr, nullptr, nullptr);
    if (m_hWnd == nullptr)
        return;
    SetWindowLongPtrA(m_hWnd, 0, reinterpret_cast<LONG_PTR>(this));
    // The dialog keeps the activation and the focus: the user goes on typing.
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    InvalidateRect(m_hWnd, nullptr, TRUE); // the first paint places the window
    m_inputHook.reset(
        SetWindowsHookExA(WH_GETMESSAGE, &CHelpToolTip::InputHook, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK CHelpToolTip::InputHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && EndsTip(message->message))
    {
        // Closed by its own message, after this one: the hook is removed
        // outside the call of the hook.
        HWND tip = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &TakeTip, reinterpret_cast<LPARAM>(&tip));
        if (tip != nullptr)
            PostMessageA(tip, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CHelpToolTip::Close() noexcept
{
    HWND window = m_hWnd;
    m_hWnd = nullptr;
    if (window != nullptr && IsWindow(window))
    {
        SetWindowLongPtrA(window, 0, 0); // no more messages reach this object
        DestroyWindow(window);
    }
    m_inputHook.reset();
    m_text.clear();
    m_bHasText = false;
    UnregisterClassA(m_pszClassName, nullptr); // result ignored: nothing may be registered
}

LRESULT CALLBACK CHelpToolTip::TipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CHelpToolTip*>(GetWindowLongPtrA(window, 0));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    try
    {
        return self->WindowProc(window, message, wParam, lParam);
    }
    catch (...)
    {
        // No exception may pass the system's frames: the tip closes and its
        // owner reports the failure.
        std::exception_ptr failure = std::current_exception();
        self->Close();
        if (self->m_failureHandler)
            self->m_failureHandler(failure);
        return 0;
    }
}

LRESULT CHelpToolTip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        if (!m_bHasText)
            break;
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        FillBackground(window, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_MOUSEACTIVATE: // a click on the tip closes it, and activates nothing
        return MA_NOACTIVATE;
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            Close();
        break;
    case WM_KILLFOCUS:
        Close();
        break;
    case WM_CLOSE: // a click or key on its thread, or Alt+F4
        Close();
        return 0;
    case WM_NCDESTROY: // destroyed by others (with its owner, say)
        if (window == m_hWnd)
        {
            m_hWnd = nullptr;
            m_inputHook.reset();
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CHelpToolTip::FillBackground(HWND window, HDC dc)
{
    RECT client = {};
    GetClientRect(window, &client);
    CGdiObject brush(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    FillRect(dc, &client, static_cast<HBRUSH>(brush.Get()));
}

void CHelpToolTip::Paint(HWND window)
{
    CPaint paint(window);
    HDC dc = paint.Dc();
    CTextColours colours(dc);

    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = kNonClientMetricsSize;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    CGdiObject font(CreateFontIndirectA(&metrics.lfStatusFont));
    CSelectObject selected(dc, font.Get());
    TEXTMETRICA textMetrics = {};
    GetTextMetricsA(dc, &textMetrics);
    const int margin = textMetrics.tmHeight / 2;

    const SIZE extent = MeasureText(dc, m_text, textMetrics.tmHeight);
    RECT rect = {m_ptPos.x, m_ptPos.y, m_ptPos.x + extent.cx, m_ptPos.y + extent.cy};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    rect.right += 2 * margin;
    rect.bottom += 2 * margin;
    const STipRect fitted = FitTipInto(ToTipRect(rect), ToTipRect(m_workArea));
    rect = {fitted.left, fitted.top, fitted.right, fitted.bottom};
    SetWindowPos(window, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOACTIVATE);

    FillBackground(window, dc);
    RECT client = {};
    GetClientRect(window, &client);
    InflateRect(&client, -margin, -margin);
    DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &client,
              DT_LEFT | DT_TOP | DT_NOCLIP);
}

} // namespace qel
