// Out of memory at a moment a test picks: this program's allocator (which
// also serves the plug-in's code linked into it) fails the next allocation
// made on one thread.
#pragma once

#include <windows.h>

namespace qel::test
{

void FailNextAllocationOn(DWORD thread);
// Disarms; true when the failure was still pending.
bool CancelAllocationFailure();

} // namespace qel::test
