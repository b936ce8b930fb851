#include "tools/swsim/DocumentFrame.h"

namespace swsim
{

CDocumentFrame::CDocumentFrame(HWND documentArea, HINSTANCE instance, const std::wstring& title)
    : m_documentArea(documentArea),
      m_frame(CreateWindowExW(WS_EX_MDICHILD, kFrameClass, title.c_str(),
                              WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              documentArea, nullptr, instance, nullptr))
{
}

CDocumentFrame::~CDocumentFrame()
{
    if (m_frame && IsWindow(m_frame))
    {
        SendMessageW(m_documentArea, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_frame), 0);
    }
}

void CDocumentFrame::SetTitle(const std::wstring& title)
{
    SetWindowTextW(m_frame, title.c_str());
}

void CDocumentFrame::BringToTop()
{
    SendMessageW(m_documentArea, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_frame), 0);
}

LRESULT CALLBACK CDocumentFrame::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        RECT area{};
        GetClientRect(window, &area);
        if (!CreateWindowExW(0, kViewClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, area.right,
                             area.bottom, window, nullptr, create->hInstance, nullptr))
        {
            return -1;
        }
    }
    else if (message == WM_SIZE)
    {
        // The view fills the frame's client area.
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    }
    return DefMDIChildProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CDocumentFrame::ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace swsim
