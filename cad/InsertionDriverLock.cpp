// CInsertionDriver, the part directory's lock: one insertion at a time
// creates and opens its part there. A held lock is waited for, silently or
// with a box the user can cancel; a lock that cannot be had at all stops a
// part from being created.
#include "cad/InsertionDriver.h"

#include <algorithm>

#include "cad/PartDirectoryLock.h"
#include "common/AutomationFailure.h"
#include "common/StringTable.h"
#include "common/Trace.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"
#include "ui/LockWaitDlg.h"

namespace qel
{

namespace
{
// A wait shorter than this passes without a box.
constexpr DWORD kQuietWaitMs = 1000;

// Why the lock file cannot serve, with its path: the system's text alone
// ("Access is denied.") would not say which file the administrator must fix.
std::string UnusableReason(const CPartDirectoryLock& lock)
{
    const DWORD error = lock.GetError() != ERROR_SUCCESS ? lock.GetError() : ERROR_ACCESS_DENIED;
    return FormatMessageText(IDS_LOCK_FILE_UNUSABLE, lock.GetPath().c_str(),
                             DescribeFailureCode(static_cast<HRESULT>(error)).c_str());
}
} // namespace

void CInsertionDriver::LockPartDirectory(CPartDirectoryLock& lock, bool create)
{
    const char* directory = m_pSettings->GetPartPath();
    // The host called again from inside this thread's own insertion (from
    // SolidWorks' message loop, or from the wait box's): waiting would wait
    // for itself. The thread counts as inside from the start of its wait.
    if (!lock.MarkThread())
        ThrowDirectoryFailure(create, FormatMessageText(IDS_PART_DIRECTORY_REENTERED, directory));
    if (!lock.IsUsable())
    {
        // A new part is never made without the lock: nothing is written yet.
        // An existing part in a directory this user may only read opens without it.
        if (create)
            ThrowCannotCreatePart(UnusableReason(lock));
        return;
    }

    const DWORD boundMs = m_pSettings->GetLockWaitSeconds() * 1000UL;
    for (;;)
    {
        const DWORD start = GetTickCount();
        const WaitOutcome outcome =
            m_bShowMessages ? WaitWithBox(lock, boundMs) : lock.WaitFor(boundMs);
        CTrace::Line("lock of %s: waited %lu ms, %s", directory, GetTickCount() - start,
                     OutcomeName(outcome));
        switch (outcome)
        {
        case WaitOutcome::Done:
            return;
        case WaitOutcome::Failed:
            // Locks this directory does not support stop only a new part.
            if (create)
                ThrowCannotCreatePart(UnusableReason(lock));
            return;
        case WaitOutcome::Cancelled:
            ThrowDirectoryFailure(create, FormatMessageText(IDS_LOCK_WAIT_CANCELLED, directory));
        default:
            break;
        }
        const DWORD waitedSeconds = (GetTickCount() - start + 500) / 1000;
        const std::string busy =
            FormatMessageText(IDS_PART_DIRECTORY_BUSY, directory, waitedSeconds);
        if (!m_bShowMessages || !CLockWaitDlg::AskRetry(busy))
            ThrowDirectoryFailure(create, busy);
    }
}

WaitOutcome CInsertionDriver::WaitWithBox(CPartDirectoryLock& lock, DWORD timeoutMs)
{
    const DWORD quietMs = std::min(kQuietWaitMs, timeoutMs);
    const WaitOutcome quiet = lock.WaitFor(quietMs);
    if (quiet != WaitOutcome::TimedOut || quietMs == timeoutMs)
        return quiet;
    CLockWaitDlg box(
        FormatMessageText(IDS_PART_DIRECTORY_WAITING, m_pSettings->GetPartPath()),
        [&lock] { return lock.TryAcquire(); }, timeoutMs - quietMs);
    const INT_PTR result = box.DoModal();
    // A box that could not be shown leaves the silent wait.
    if (result == -1)
        return lock.WaitFor(timeoutMs - quietMs);
    // A box destroyed from outside (with the host's window) ended no wait of
    // its own: the user's cancel, never a lock that cannot be had.
    const WaitOutcome outcome = OutcomeOfDialogResult(result);
    return result == DialogResult(outcome) ? outcome : WaitOutcome::Cancelled;
}

void CInsertionDriver::ThrowDirectoryFailure(bool creating, const std::string& reason)
{
    if (creating)
        ThrowCannotCreatePart(reason);
    ThrowCannotInsertPart(reason);
}

} // namespace qel
