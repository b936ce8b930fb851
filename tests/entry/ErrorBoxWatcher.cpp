#include "ErrorBoxWatcher.h"

#include <chrono>

#include <windows.h>

namespace qel::test
{

namespace
{

struct FoundBox
{
    HWND window = nullptr;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    char caption[600] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    std::string title(caption);
    const std::string plugin = "QelSW99_3D.dll";
    if (std::string(className) == "#32770" && title.size() >= plugin.size() &&
        _stricmp(title.c_str() + title.size() - plugin.size(), plugin.c_str()) == 0)
    {
        reinterpret_cast<FoundBox*>(param)->window = window;
        return FALSE;
    }
    return TRUE;
}

// The message of a message box: its longest static text.
BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Static") != 0)
        return TRUE;
    char text[2048] = {};
    GetWindowTextA(child, text, sizeof(text));
    std::string* longest = reinterpret_cast<std::string*>(param);
    if (std::string(text).size() > longest->size())
        *longest = text;
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
            std::string text;
            EnumChildWindows(box.window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
            char caption[600] = {};
            GetWindowTextA(box.window, caption, sizeof(caption));
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_texts.push_back(text);
                m_captions.push_back(caption);
            }
            SendMessageA(box.window, WM_COMMAND, IDOK, 0);
            while (IsWindow(box.window) && !m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace qel::test
