// A named mutex held for the lifetime of the object, waited for at most a
// bound while the messages sent to the thread are served. Its callers go
// ahead in every case: past the bound (the holder hangs, waiting for a server
// that is down, say) without the mutex, and with a mutex that its holder left
// behind when it ended, owning it all the same. WaitResult tells which.
#pragma once

#include <windows.h>

namespace qel
{

class CBoundedMutexLock
{
public:
    CBoundedMutexLock(HANDLE mutex, DWORD boundMs);
    CBoundedMutexLock(const CBoundedMutexLock&) = delete;
    CBoundedMutexLock& operator=(const CBoundedMutexLock&) = delete;
    ~CBoundedMutexLock();

    // WAIT_OBJECT_0 (held), WAIT_ABANDONED_0 (held, left behind by its last
    // holder), WAIT_TIMEOUT (not held: the bound passed) or WAIT_FAILED.
    DWORD WaitResult() const { return m_result; }

private:
    HANDLE m_mutex;
    DWORD m_result;
};

} // namespace qel
