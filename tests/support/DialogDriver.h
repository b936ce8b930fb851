// Drives the dialogs that a call under test opens on one thread: a helper
// thread waits for the next visible dialog of that thread, hands it to an
// action (read texts, type, press a button) and closes what is still open
// when the time runs out, so a test never hangs on a window.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <windows.h>

namespace qel::test
{

class CDialogDriver
{
public:
    // action runs on the helper thread once a dialog of thread appears.
    CDialogDriver(DWORD thread, std::function<void(HWND)> action, DWORD timeoutMs = 10000);
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;
    ~CDialogDriver();

    // True once a dialog was found and handed to the action.
    bool Found() const { return m_found; }

    static std::string Text(HWND window);
    // Types text into the first of the controls ids that the dialog has.
    static bool Type(HWND dialog, std::initializer_list<int> ids, const std::string& text);
    // Presses a push button as a click would (posted: the dialog may open another).
    static void Press(HWND dialog, int id);

private:
    void Watch(DWORD thread, DWORD timeoutMs);

    std::function<void(HWND)> m_action;
    std::atomic<bool> m_found{false};
    std::thread m_helper;
};

} // namespace qel::test
