// The lock that one insertion holds on its part directory while it writes
// TempSW.sat, has SolidWorks import it and saves the new part: other
// workstations on the same (shared) directory, and other hosts on this one,
// wait meanwhile. It is a byte-range lock on byte 0 of the hidden file
// QelSW99_3D.lock in the part directory: the file server keeps it across
// machines and drops it when its holder ends, however it ends, so nothing
// stale can block. The file itself stays; only the lock counts.
#pragma once

#include <windows.h>

#include <string>

#include "common/WaitOutcome.h"
#include "common/WinOwners.h"

namespace qel
{

class CPartDirectoryLock
{
public:
    static constexpr const char* kFileName = "QelSW99_3D.lock";

    // Opens (or creates) the lock file of partDirectory; takes no lock yet. A
    // file that another program holds for a moment (a virus scanner) is tried
    // again for a short while. A lock file this user may only read (made by
    // another user on a share that gives others read access) is locked
    // through a handle for reading.
    explicit CPartDirectoryLock(const char* partDirectory);
    CPartDirectoryLock(const CPartDirectoryLock&) = delete;
    CPartDirectoryLock& operator=(const CPartDirectoryLock&) = delete;
    ~CPartDirectoryLock();

    // Attributes
    // False when the lock file cannot be opened at all.
    bool IsUsable() const { return m_file.IsValid(); }
    // The system's error of the last open or lock that failed.
    DWORD GetError() const { return m_error; }
    const std::string& GetPath() const { return m_path; }

    // Operations
    // Marks the calling thread as inside an insertion from now until this
    // lock is gone, waiting included. False when the thread is marked
    // already: the host called again from inside this thread's insertion (a
    // message served while it waits), and waiting would wait for itself.
    bool MarkThread();
    // One attempt, without waiting: Done (the lock is ours), Waiting (another
    // insertion holds it) or Failed.
    WaitOutcome TryAcquire();
    // Tries until timeoutMs have passed, with the wait cursor, serving the
    // messages that other threads and programs send to this thread
    // meanwhile: Done, TimedOut or Failed.
    WaitOutcome WaitFor(DWORD timeoutMs);

private:
    std::string m_path;
    CHandle m_file;
    bool m_bLocked = false;
    bool m_bMarked = false;
    DWORD m_error = ERROR_SUCCESS;
};

} // namespace qel
