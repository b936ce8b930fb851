// The help tooltip of the options dialog: a small pop-up in the tooltip
// colours that shows one help text near the mouse or at the control it
// explains, and sizes itself to the text when it paints. It never takes the
// activation or the focus from the dialog, so it closes (window destroyed,
// class unregistered) at the next click or key press on its thread, or when
// another program is activated.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include <windows.h>

namespace qel
{

class CHelpToolTip
{
public:
    CHelpToolTip();
    CHelpToolTip(const CHelpToolTip&) = delete;
    CHelpToolTip& operator=(const CHelpToolTip&) = delete;
    virtual ~CHelpToolTip() { Close(); }

    // Attributes
    HWND GetHwnd() const { return m_hWnd; }

    // Operations
    // Shows text for the control window. A tip still open is closed first,
    // so the new request shows its own text.
    void ShowTip(const char* text, HWND control);
    // Destroys the window, drops the text and unregisters the window class.
    void Close() noexcept;
    // Told of a failure inside the tip's window procedure (after the tip has
    // closed), so that the owner can report it; without one it is dropped.
    void SetFailureHandler(std::function<void(std::exception_ptr)> handler)
    {
        m_failureHandler = std::move(handler);
    }

    static constexpr const char* kClassName = "QelWndClassHelpToolTip";

protected:
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK TipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Sees every message the thread takes from its queue while a tip is open.
    static LRESULT CALLBACK InputHook(int code, WPARAM wParam, LPARAM lParam);
    void Paint(HWND window);
    void FillBackground(HWND window, HDC dc);

    using CHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;

    HWND m_hWnd = nullptr;
    CHook m_inputHook{nullptr, &UnhookWindowsHookEx};
    POINT m_ptPos = {0, 0};
    RECT m_workArea = {0, 0, 0, 0}; // of the monitor that holds the control
    const char* m_pszClassName = kClassName;
    std::string m_text;
    bool m_bHasText = false;
    std::function<void(std::exception_ptr)> m_failureHandler;
};

} // namespace qel
