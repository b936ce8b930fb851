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

CLockWaitDlg::CLockWaitDlg(std::string text, std::function<Poll()> poll, DWORD timeoutMs)
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

void CLockWaitDlg::OnTimer(UINT_PTR id)
{
    if (id != kPollTimer)
        return;
    switch (m_poll())
    {
    case Poll::Done:
        EndDialog(kDone);
        return;
    case Poll::Failed:
        EndDialog(kFailed);
        return;
    case Poll::Waiting:
        if (GetTickCount() - m_nStart >= m_nTimeoutMs)
            EndDialog(kTimedOut);
        return;
    }
}

} // namespace qel
