#include "ui/LockWaitDlg.h"

#include <utility>

#include "common/StringTable.h"
#include "resources/resource.h"

namespace qel
{

namespace
{
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 50;
} // namespace

CLockWaitDlg::CLockWaitDlg(std::string text, std::function<WaitOutcome()> poll, DWORD timeoutMs)
    : CModalDialog(IDD_LOCK_WAIT, nullptr), m_text(std::move(text)), m_poll(std::move(poll)),
      m_nTimeoutMs(timeoutMs)
{
}

bool CLockWaitDlg::AskRetry(const std::string& text)
{
    return MessageBoxA(DefaultOwner(), text.c_str(), ModuleTitle().c_str(),
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

BOOL CLockWaitDlg::OnInitDialog()
{
    SetWindowTextA(GetHwnd(), ModuleTitle().c_str());
    SetDlgItemTextA(GetHwnd(), IDC_LOCK_WAIT_TEXT, m_text.c_str());
    SetDlgItemTextA(GetHwnd(), IDCANCEL, LoadMessage(IDS_OPTIONS_CANCEL).c_str());
    m_nStart = GetTickCount();
    SetTimer(GetHwnd(), kPollTimer, kPollMs, nullptr);
    return TRUE;
}

void CLockWaitDlg::OnOK()
{
    // Enter: the dialog manager sends IDOK whatever has the focus.
    PressFocusedButton();
}

void CLockWaitDlg::OnCancel()
{
    EndWith(WaitOutcome::Cancelled);
}

void CLockWaitDlg::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer)
        return;
    const WaitOutcome outcome = m_poll();
    if (outcome != WaitOutcome::Waiting)
        EndWith(outcome);
    else if (GetTickCount() - m_nStart >= m_nTimeoutMs)
        EndWith(WaitOutcome::TimedOut);
}

void CLockWaitDlg::EndWith(WaitOutcome outcome)
{
    // A poll after the end would take a lock nobody waits for any more.
    KillTimer(GetHwnd(), kPollTimer);
    EndDialog(DialogResult(outcome));
}

} // namespace qel
