// Waiting without freezing: a thread that answers no sent message is marked
// as hung by Windows, and a broadcast (a settings change, DDE) waits for it.
#pragma once

#include <windows.h>

namespace qel
{

// Serves messages sent to the calling thread for waitMs; input and posted
// messages (a second insertion started from the catalogue, say) stay queued
// until the call is done.
void ServeSentMessages(DWORD waitMs);
// Waits at most waitMs for object (null: only the time passes), serving sent
// messages meanwhile. WAIT_OBJECT_0, WAIT_ABANDONED_0, WAIT_TIMEOUT or
// WAIT_FAILED, as WaitForSingleObject answers.
DWORD WaitServingSentMessages(HANDLE object, DWORD waitMs);

} // namespace qel
