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

} // namespace qel
