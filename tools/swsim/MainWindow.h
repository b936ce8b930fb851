// The simulator's main window: a visible MDI frame whose first child, the MDI
// client, is the document area holding one frame window per document.
// Closing the main window ends the message loop.
#pragma once

#include <windows.h>

#include "tools/swsim/WindowClass.h"

namespace swsim
{

class CSimMainWindow
{
public:
    CSimMainWindow(HINSTANCE instance, bool minimized);
    CSimMainWindow(const CSimMainWindow&) = delete;
    CSimMainWindow& operator=(const CSimMainWindow&) = delete;
    ~CSimMainWindow();

    // Attributes
    bool Created() const { return m_window && m_documentArea; }
    HWND Handle() const { return m_window; }
    HWND DocumentArea() const { return m_documentArea; }
    HINSTANCE Instance() const { return m_instance; }

    // Operations
    void SetMinimized(bool minimized);
    // Sizes the main window so that the document area's client rectangle is
    // width x height; RestoreSize gives it its starting size again.
    void SetDocumentAreaSize(long width, long height);
    void RestoreSize();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND window);
    LRESULT OnClose();

    HINSTANCE m_instance;
    CWindowClass m_mainClass;
    CWindowClass m_frameClass;
    CWindowClass m_viewClass;
    HWND m_window = nullptr;
    HWND m_documentArea = nullptr; // child of m_window, destroyed with it
};

} // namespace swsim
