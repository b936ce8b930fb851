#include "tools/swsim/MainWindow.h"

#include "tools/swsim/DocumentFrame.h"
#include "tools/swsim/SimIds.h"

namespace swsim
{
namespace
{

constexpr int kLeft = 16;
constexpr int kTop = 16;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

} // namespace

CSimMainWindow::CSimMainWindow(HINSTANCE instance, bool minimized)
    : m_instance(instance),
      m_mainClass(instance, kMainWindowClass, &CSimMainWindow::WindowProc, COLOR_APPWORKSPACE),
      m_frameClass(instance, CDocumentFrame::kFrameClass, &CDocumentFrame::FrameProc, COLOR_WINDOW),
      m_viewClass(instance, CDocumentFrame::kViewClass, &CDocumentFrame::ViewProc, COLOR_WINDOW)
{
    CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    kLeft, kTop, kWidth, kHeight, nullptr, nullptr, instance, this);
    if (m_window)
    {
        ShowWindow(m_window, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
        UpdateWindow(m_window);
    }
}

CSimMainWindow::~CSimMainWindow()
{
    if (m_window)
    {
        DestroyWindow(m_window);
    }
}

void CSimMainWindow::SetMinimized(bool minimized)
{
    if (minimized != (IsIconic(m_window) != FALSE))
    {
        ShowWindow(m_window, minimized ? SW_MINIMIZE : SW_RESTORE);
    }
}

void CSimMainWindow::SetDocumentAreaSize(long width, long height)
{
    if (IsIconic(m_window))
    {
        ShowWindow(m_window, SW_RESTORE);
    }
    // The frame's borders, caption and the area's edge stay as they are: the
    // window grows or shrinks by the difference.
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        RECT window{};
        RECT area{};
        GetWindowRect(m_window, &window);
        GetClientRect(m_documentArea, &area);
        const long dw = width - area.right;
        const long dh = height - area.bottom;
        if (dw == 0 && dh == 0)
        {
            return;
        }
        SetWindowPos(m_window, nullptr, 0, 0, window.right - window.left + dw,
                     window.bottom - window.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSimMainWindow::RestoreSize()
{
    SetWindowPos(m_window, nullptr, kLeft, kTop, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK CSimMainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CSimMainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self)
    {
        switch (message)
        {
        case WM_CREATE:
            return self->OnCreate(window);
        case WM_CLOSE:
            return self->OnClose();
        case WM_NCDESTROY:
            self->m_window = nullptr;
            self->m_documentArea = nullptr;
            break;
        default:
            break;
        }
    }
    return DefFrameProcW(window, self ? self->m_documentArea : nullptr, message, wParam, lParam);
}

LRESULT CSimMainWindow::OnCreate(HWND window)
{
    m_window = window;
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = 0x100;
    RECT area{};
    GetClientRect(window, &area);
    m_documentArea =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0,
                        area.right, area.bottom, window, nullptr, m_instance, &client);
    return m_documentArea ? 0 : -1;
}

LRESULT CSimMainWindow::OnClose()
{
    // The owners unwind after the message loop: registrations are revoked,
    // documents closed, then this window destroyed.
    PostQuitMessage(0);
    return 0;
}

} // namespace swsim
