#include "tests/support/DialogDriver.h"

#include <chrono>

#include <gtest/gtest.h>

namespace qel::test
{

namespace
{

struct Search
{
    int mark;
    HWND found;
};

bool IsDialog(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    return std::string(className) == "#32770" && IsWindowVisible(window);
}

BOOL CALLBACK FindInputControl(HWND control, LPARAM param)
{
    char className[16] = {};
    GetClassNameA(control, className, sizeof(className));
    const std::string name(className);
    if (name == "Edit" || name == "ListBox" || name == "ComboBox")
    {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// A message box holds buttons and texts only. Other dialogs may carry a text
// of the message box's id (0xFFFF, the id of any unnamed static).
bool IsMessageBox(HWND dialog)
{
    bool input = false;
    EnumChildWindows(dialog, FindInputControl, reinterpret_cast<LPARAM>(&input));
    return !input;
}

BOOL CALLBACK FindInputDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    if (IsDialog(window) && IsWindowEnabled(window) &&
        GetDlgItem(window, search->mark) != nullptr &&
        (search->mark != CDialogDriver::kMessageBox || IsMessageBox(window)))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Cancels a dialog, answers No to a question, or acknowledges a message.
BOOL CALLBACK CancelDialog(HWND window, LPARAM param)
{
    if (IsDialog(window))
    {
        int answer =
            GetDlgItem(window, IDNO) != nullptr ? IDNO
            : GetDlgItem(window, IDOK) != nullptr && GetDlgItem(window, IDCANCEL) == nullptr
                ? IDOK
                : IDCANCEL;
        PostMessageA(window, WM_COMMAND, answer, 0);
        *reinterpret_cast<bool*>(param) = true;
    }
    return TRUE;
}

} // namespace

CDialogDriver::CDialogDriver(std::vector<Step> steps, DWORD thread, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_helper([this, thread, timeoutMs] { Run(thread, timeoutMs); })
{
}

void CDialogDriver::Finish()
{
    m_callDone = true;
    if (!m_helper.joinable())
        return;
    m_helper.join();
    if (m_timedOut)
        ADD_FAILURE() << "dialog driver: " << m_failedStep;
}

HWND CDialogDriver::FindStepDialog(DWORD thread, int mark) const
{
    Search search = {mark, nullptr};
    EnumThreadWindows(thread, FindInputDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CDialogDriver::Run(DWORD thread, DWORD timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto fail = [&](std::size_t step, const char* what)
    {
        m_failedStep = "step " + std::to_string(step + 1) + ": " + what;
        m_timedOut = true;
        CancelEverything(thread);
    };
    for (std::size_t i = 0; i < m_steps.size(); ++i)
    {
        // Once the call has returned, no dialog of it can appear any more.
        HWND dialog = nullptr;
        bool over = false;
        while (!(over = Clock::now() >= end || m_callDone) &&
               (dialog = FindStepDialog(thread, m_steps[i].mark)) == nullptr)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (dialog == nullptr && over)
            dialog = FindStepDialog(thread, m_steps[i].mark);
        if (dialog == nullptr)
            return fail(i, m_callDone ? "the call returned without showing the dialog"
                                      : "the dialog did not appear");
        // Set up and waiting for input once its thread answers a sent message.
        if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, Remaining(end), nullptr))
            return fail(i, "the dialog did not answer");
        if (m_steps[i].mark == kMessageBox)
            m_messages.push_back(MessageText(dialog));
        m_steps[i].action(dialog);
        // The step's dialog must react (close, or give way to another one)
        // before the next step looks.
        const bool reacted = WaitFor(
            [&]
            {
                return m_callDone || !IsWindow(dialog) || !IsWindowEnabled(dialog) ||
                       FindStepDialog(thread, m_steps[i].mark) != dialog;
            },
            Remaining(end));
        if (!reacted)
            return fail(i, "the dialog did not react to the step");
    }
}

DWORD CDialogDriver::Remaining(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
}

void CDialogDriver::CancelEverything(DWORD thread)
{
    for (int round = 0; round < 50; ++round)
    {
        bool any = false;
        EnumThreadWindows(thread, CancelDialog, reinterpret_cast<LPARAM>(&any));
        if (!any)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string CDialogDriver::Text(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string CDialogDriver::ItemText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? Text(control) : std::string();
}

bool CDialogDriver::IsEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowEnabled(control);
}

void CDialogDriver::Type(HWND dialog, int id, const std::string& text)
{
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CDialogDriver::Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void CDialogDriver::Help(HWND dialog, int id)
{
    HWND control = id != 0 ? GetDlgItem(dialog, id) : dialog;
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = id;
    info.hItemHandle = control;
    GetCursorPos(&info.MousePos);
    // Sent, not posted: the record lives on this thread's stack.
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

bool CDialogDriver::WaitFor(const std::function<bool()>& predicate, DWORD timeoutMs)
{
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!predicate())
    {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace qel::test
