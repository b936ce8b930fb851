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
    // How long an insertion waits for another one on the same directory.
    static constexpr DWORD kWaitMs = 30000;

    // Opens (or creates) the lock file of partDirectory; takes no lock yet.
    explicit CPartDirectoryLock(const char* partDirectory);
    CPartDirectoryLock(const CPartDirectoryLock&) = delete;
    CPartDirectoryLock& operator=(const CPartDirectoryLock&) = delete;
    ~CPartDirectoryLock();

    // Attributes
    // False when the lock file cannot be opened: the directory takes no
    // files from us, and the SAT file step says why.
    bool IsUsable() const { return m_file.IsValid(); }

    // Operations
    // Waits up to timeoutMs (with the wait cursor) until the lock is ours.
    bool Acquire(DWORD timeoutMs);

private:
    CHandle m_file;
    bool m_bLocked = false;
};

} // namespace qel
