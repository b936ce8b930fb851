// The box an insertion shows while it waits for another insertion on its
// part directory: a line of text and Cancel, owned by the host's window,
// which takes no input meanwhile. Every few milliseconds it asks whether
// the wait is over.
#pragma once

#include <functional>
#include <string>

#include "ui/ModalDialog.h"

namespace qel
{

class CLockWaitDlg : public CModalDialog
{
public:
    enum class Poll
    {
        Waiting,
        Done,
        Failed,
    };
    // DoModal's results besides IDCANCEL.
    static constexpr INT_PTR kDone = IDOK;
    static constexpr INT_PTR kFailed = 100;
    static constexpr INT_PTR kTimedOut = 101;

    CLockWaitDlg(std::string text, std::function<Poll()> poll, DWORD timeoutMs);

    // Operations
    // Asks the user whether to go on waiting: true for Retry.
    static bool AskRetry(const std::string& text);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;

private:
    std::string m_text;
    std::function<Poll()> m_poll;
    DWORD m_nTimeoutMs;
    DWORD m_nStart = 0;
};

} // namespace qel
