#include "tests/support/ErrorBoxWatcher.h"

#include <chrono>

#include <windows.h>

#include "tests/support/DialogDriver.h"

namespace qel::test
{

namespace
{

struct FoundBox
{
    HWND window = nullptr;
};

// A visible message box of this process: a dialog with a message text.
BOOL CALLBACK FindErrorBox(HWND window, LPARAM param)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770" &&
        GetDlgItem(window, CDialogDriver::kMessageBox) != nullptr)
    {
        reinterpret_cast<FoundBox*>(param)->window = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

CErrorBoxWatcher::CErrorBoxWatcher() : m_thread([this] { Watch(); }) {}

CErrorBoxWatcher::~CErrorBoxWatcher()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::string> CErrorBoxWatcher::Texts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_texts;
}

std::vector<std::string> CErrorBoxWatcher::Captions() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_captions;
}

void CErrorBoxWatcher::Watch()
{
    while (!m_stop)
    {
        FoundBox box;
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&box));
        if (box.window != nullptr)
        {
            const std::string text = CDialogDriver::MessageText(box.window);
            const std::string caption = CDialogDriver::Text(box.window);
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_texts.push_back(text);
                m_captions.push_back(caption);
            }
            CDialogDriver::Press(box.window, GetDlgItem(box.window, IDNO) ? IDNO : IDOK);
            while (IsWindow(box.window) && !m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace qel::test
