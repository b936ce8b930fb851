// Drives the dialogs and message boxes that a call under test opens on one
// thread, as a user would: a helper thread runs a script of steps; each step
// waits for the thread's dialog that accepts input (modal parents are
// disabled) and carries a given control, then acts on it (read texts, type,
// press a button, ask for help, answer Yes or No). Dialogs are found by
// thread and control, never by a caption that changes with the language.
// A step acts once its dialog is set up and waiting for input, and the next
// step looks only after the dialog has reacted. When the time runs out, or
// the call returns with steps left, whatever is still open is cancelled and
// the test fails; the call under test never hangs.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace qel::test
{

class CDialogDriver
{
public:
    // Controls that tell the dialogs apart.
    static constexpr int kMessageBox = 0xFFFF; // a message box's text
    static constexpr int kOptions = 12321;     // the options dialog's Apply
    static constexpr int kChooser = 1121;      // the directory chooser's list
    static constexpr int kSaveFile = IDOK;     // any dialog with OK: the Save dialog

    struct Step
    {
        int mark; // a control the dialog must have
        std::function<void(HWND)> action;
    };

    explicit CDialogDriver(std::vector<Step> steps, DWORD thread = GetCurrentThreadId(),
                           DWORD timeoutMs = 15000);
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;
    // Ends the watch (the call under test has returned) and waits for the
    // script; a script cut short by the time-out fails the test.
    ~CDialogDriver() { Finish(); }
    // The same, before the driver goes (so that its records can be read).
    void Finish();

    // Texts of the message boxes met by the steps, in order.
    std::vector<std::string> MessageTexts() const { return m_messages; }

    static std::string Text(HWND window);
    static std::string ItemText(HWND dialog, int id);
    static bool IsEnabled(HWND dialog, int id);
    // The text of a message box (its message, not its caption).
    static std::string MessageText(HWND box) { return ItemText(box, kMessageBox); }
    static void Type(HWND dialog, int id, const std::string& text);
    // Presses a push button as a click would (posted: the dialog may open another).
    static void Press(HWND dialog, int id);
    // A help request for control id, as F1 on it gives.
    static void Help(HWND dialog, int id);
    // Waits (briefly) until predicate holds; false when it never did.
    static bool WaitFor(const std::function<bool()>& predicate, DWORD timeoutMs = 3000);

private:
    using Clock = std::chrono::steady_clock;

    void Run(DWORD thread, DWORD timeoutMs);
    static DWORD Remaining(Clock::time_point end);
    HWND FindStepDialog(DWORD thread, int mark) const;
    static void CancelEverything(DWORD thread);

    std::vector<Step> m_steps;
    std::vector<std::string> m_messages;
    std::atomic<bool> m_timedOut{false};
    std::atomic<bool> m_callDone{false};
    std::string m_failedStep;
    std::thread m_helper;
};

} // namespace qel::test
