// The box an insertion shows while a SolidWorks call has not come back: how
// long SolidWorks has not answered, "Switch to SolidWorks" and Cancel. It
// looks like the box of the wait for the part directory and is owned by the
// host's window, which takes no input meanwhile. It is modeless: the thread
// waits inside COM for the call, and the waiter serves the box's messages
// (Serve) whenever COM lets it look, so that the box can close by itself
// when the call comes back.
#pragma once

#include <functional>

#include <windows.h>

#include "common/WaitOutcome.h"

namespace qel
{

class CSolidWorksWaitDlg
{
public:
    // switchTo: what "Switch to SolidWorks" does; it must not throw. The box
    // stays after it. canSwitch: whether SolidWorks' window is known yet
    // (the button is enabled only then).
    CSolidWorksWaitDlg(std::function<bool()> canSwitch, std::function<void()> switchTo);
    CSolidWorksWaitDlg(const CSolidWorksWaitDlg&) = delete;
    CSolidWorksWaitDlg& operator=(const CSolidWorksWaitDlg&) = delete;
    // Closes the box; the host's window takes input again.
    ~CSolidWorksWaitDlg();

    // Attributes
    HWND GetHwnd() const { return m_hWnd; }

    // Operations
    // Shows the box (once), owned by the host's window (its frame when
    // SolidWorks' question is active), which is disabled meanwhile, with the
    // seconds SolidWorks has not answered. False when no box could be made.
    bool Show(unsigned seconds);
    // Serves the messages queued for the box; Cancelled once the user
    // cancelled (or the box was destroyed with its owner), Waiting otherwise.
    WaitOutcome Serve();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id);
    void SetSeconds(unsigned seconds);
    void EnableSwitch();
    void ServeWindow(HWND window);

    std::function<bool()> m_canSwitch;
    std::function<void()> m_switchTo;
    HWND m_hWnd = nullptr;
    HWND m_hOwner = nullptr;
    bool m_bCreated = false;
    bool m_bClosing = false; // the box goes by its own doing
    bool m_bOwnerDisabled = false;
    unsigned m_nSeconds = 0;
    WaitOutcome m_outcome = WaitOutcome::Waiting;
};

} // namespace qel
