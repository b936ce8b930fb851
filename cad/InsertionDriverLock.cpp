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

using Attempt = CPartDirectoryLock::Attempt;

// The system's text for an error that it may leave unset.
std::string SystemReason(DWORD error)
{
    return DescribeFailureCode(
        static_cast<HRESULT>(error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED));
}
} // namespace

void CInsertionDriver::LockPartDirectory(CPartDirectoryLock& lock, bool create)
{
    const char* directory = m_pSettings->GetPartPath();
    // The host called again from inside this thread's own insertion (from
    // SolidWorks' message loop): waiting would wait for itself.
    if (CPartDirectoryLock::IsHeldByThisThread())
        ThrowDirectoryFailure(create, FormatMessageText(IDS_PART_DIRECTORY_REENTERED, directory));
    // A new part is never made without the lock: nothing is written yet.
    if (create && !lock.IsWritable())
        ThrowCannotCreatePart(SystemReason(lock.GetError()));
    // An existing part in a directory this user may only read opens without it.
    if (!lock.IsUsable())
        return;

    const DWORD boundMs = m_pSettings->GetLockWaitSeconds() * 1000UL;
    for (;;)
    {
        const DWORD start = GetTickCount();
        const INT_PTR outcome =
            m_bShowMessages ? WaitWithBox(lock, boundMs) : SilentWait(lock, boundMs);
        CTrace::Line("lock of %s: waited %lu ms, outcome %ld", directory, GetTickCount() - start,
                     static_cast<long>(outcome));
        if (outcome == CLockWaitDlg::kDone)
            return;
        if (outcome == CLockWaitDlg::kFailed)
        {
            // Locks this directory does not support stop only a new part.
            if (create)
                ThrowCannotCreatePart(SystemReason(lock.GetError()));
            return;
        }
        const DWORD waitedSeconds = (GetTickCount() - start + 500) / 1000;
        const std::string busy =
            FormatMessageText(IDS_PART_DIRECTORY_BUSY, directory, waitedSeconds);
        if (outcome != CLockWaitDlg::kTimedOut || !m_bShowMessages || !CLockWaitDlg::AskRetry(busy))
            ThrowDirectoryFailure(create, busy);
    }
}

INT_PTR CInsertionDriver::SilentWait(CPartDirectoryLock& lock, DWORD timeoutMs)
{
    switch (lock.WaitFor(timeoutMs))
    {
    case Attempt::Acquired:
        return CLockWaitDlg::kDone;
    case Attempt::Failed:
        return CLockWaitDlg::kFailed;
    default:
        return CLockWaitDlg::kTimedOut;
    }
}

INT_PTR CInsertionDriver::WaitWithBox(CPartDirectoryLock& lock, DWORD timeoutMs)
{
    const DWORD quietMs = std::min(kQuietWaitMs, timeoutMs);
    const INT_PTR quiet = SilentWait(lock, quietMs);
    if (quiet != CLockWaitDlg::kTimedOut || quietMs == timeoutMs)
        return quiet;
    CLockWaitDlg box(
        FormatMessageText(IDS_PART_DIRECTORY_WAITING, m_pSettings->GetPartPath()),
        [&lock]
        {
            switch (lock.TryAcquire())
            {
            case Attempt::Acquired:
                return CLockWaitDlg::Poll::Done;
            case Attempt::Failed:
                return CLockWaitDlg::Poll::Failed;
            default:
                return CLockWaitDlg::Poll::Waiting;
            }
        },
        timeoutMs - quietMs);
    const INT_PTR result = box.DoModal();
    // A box that could not be shown leaves the silent wait.
    return result == -1 ? SilentWait(lock, timeoutMs - quietMs) : result;
}

void CInsertionDriver::ThrowDirectoryFailure(bool creating, const std::string& reason)
{
    if (creating)
        ThrowCannotCreatePart(reason);
    ThrowCannotInsertPart(reason);
}

} // namespace qel
