// Waiting on the host's user-interface thread without leaving it hung: the
// messages that other threads and programs send to the thread are served
// meanwhile (Windows marks a thread that answers none as not responding, and
// a broadcast waits for it). Input and posted messages (a second insertion
// started from the catalogue, say) stay queued until the call is done.
#pragma once

#include <windows.h>

namespace qel
{

// Waits at most waitMs for object (null: only the time passes), serving sent
// messages meanwhile. WAIT_OBJECT_0, WAIT_ABANDONED_0, WAIT_TIMEOUT or
// WAIT_FAILED, as WaitForSingleObject answers.
DWORD WaitServingSentMessages(HANDLE object, DWORD waitMs);

} // namespace qel
