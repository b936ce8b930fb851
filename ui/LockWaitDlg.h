// The box an insertion shows while it waits for another insertion on its
// part directory: a line of text and Cancel, owned by the host's window,
// which takes no input meanwhile. Every few milliseconds it asks whether
// the wait is over. It ends with DialogResult of the wait's outcome: Done
// only when the poll said so; Enter presses the focused button, Esc cancels.
#pragma once

#include <functional>
#include <string>

#include "common/WaitOutcome.h"
#include "ui/ModalDialog.h"

namespace qel
{

class CLockWaitDlg : public CModalDialog
{
public:
    // poll answers Waiting, Done or Failed; past timeoutMs the box ends TimedOut.
    CLockWaitDlg(std::string text, std::function<WaitOutcome()> poll, DWORD timeoutMs);

    // Operations
    // Asks the user whether to go on waiting: true for Retry.
    static bool AskRetry(const std::string& text);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;

private:
    void EndWith(WaitOutcome outcome);

    std::string m_text;
    std::function<WaitOutcome()> m_poll;
    DWORD m_nTimeoutMs;
    DWORD m_nStart = 0;
};

} // namespace qel
