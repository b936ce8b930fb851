// The lock that one insertion holds on its part directory while it writes
// TempSW.sat, has SolidWorks import it and saves the new part: other
// workstations on the same (shared) directory, and other hosts on this one,
// wait meanwhile. It is a byte-range lock on byte 0 of the hidden file
// QelSW99_3D.lock in the part directory: the file server keeps it across
// machines and drops it when its holder ends, however it ends, so nothing
// stale can block. The file itself stays; only the lock counts.
#pragma once

#include <windows.h>

#include "common/WinOwners.h"

namespace qel
{

class CPartDirectoryLock
{
public:
    static constexpr const char* kFileName = "QelSW99_3D.lock";

    enum class Attempt
    {
        Acquired,
        Busy,     // another insertion holds it
        TimedOut, // still held by another insertion when the wait ended
        Failed,   // the lock cannot be had at all: GetError says why
    };

    // Opens (or creates) the lock file of partDirectory; takes no lock yet. A
    // file that another program holds for a moment (a virus scanner) is tried
    // again for a short while.
    explicit CPartDirectoryLock(const char* partDirectory);
    CPartDirectoryLock(const CPartDirectoryLock&) = delete;
    CPartDirectoryLock& operator=(const CPartDirectoryLock&) = delete;
    ~CPartDirectoryLock();

    // Attributes
    // False when the lock file cannot be opened at all.
    bool IsUsable() const { return m_file.IsValid(); }
    // False when it could be opened for reading only: the directory takes no
    // new files from this user.
    bool IsWritable() const { return IsUsable() && m_bWritable; }
    // The system's error of the last open or lock that failed.
    DWORD GetError() const { return m_error; }
    // True while the calling thread holds a part directory's lock: a call
    // that re-entered the plug-in there would wait for itself.
    static bool IsHeldByThisThread();

    // Operations
    // One attempt, without waiting: Acquired, Busy or Failed.
    Attempt TryAcquire();
    // Tries until timeoutMs have passed, with the wait cursor, serving the
    // messages that other threads and programs send to this thread
    // meanwhile: Acquired, TimedOut or Failed.
    Attempt WaitFor(DWORD timeoutMs);
    // Serves messages sent to the calling thread for waitMs; input and posted
    // messages stay in the queue.
    static void ServeSentMessages(DWORD waitMs);

private:
    CHandle m_file;
    bool m_bWritable = false;
    bool m_bLocked = false;
    DWORD m_error = ERROR_SUCCESS;
};

} // namespace qel
