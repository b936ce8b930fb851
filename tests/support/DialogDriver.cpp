#include "tests/support/DialogDriver.h"

#include <chrono>

namespace qel::test
{

namespace
{

BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (IsWindowVisible(window) && std::string(className) == "#32770")
    {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

CDialogDriver::CDialogDriver(DWORD thread, std::function<void(HWND)> action, DWORD timeoutMs)
    : m_action(std::move(action)), m_helper([this, thread, timeoutMs] { Watch(thread, timeoutMs); })
{
}

CDialogDriver::~CDialogDriver()
{
    m_helper.join();
}

void CDialogDriver::Watch(DWORD thread, DWORD timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr && !m_found)
        {
            m_found = true;
            m_action(dialog);
        }
        else if (dialog == nullptr && m_found)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Out of time: whatever the thread still shows is cancelled.
    HWND dialog = nullptr;
    while (EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog)),
           dialog != nullptr)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        dialog = nullptr;
    }
}

std::string CDialogDriver::Text(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool CDialogDriver::Type(HWND dialog, std::initializer_list<int> ids, const std::string& text)
{
    for (int id : ids)
        if (HWND control = GetDlgItem(dialog, id))
            return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return false;
}

void CDialogDriver::Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace qel::test
