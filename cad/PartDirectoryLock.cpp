#include "cad/PartDirectoryLock.h"

#include <optional>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"

namespace qel
{

namespace
{

constexpr DWORD kRetryMs = 50;

// OVERLAPPED naming byte 0, the one byte every holder locks.
OVERLAPPED ByteZero()
{
    OVERLAPPED at = {};
    return at;
}

HANDLE OpenLockFile(const std::string& partDirectory)
{
    std::string path = partDirectory;
    AppendSeparatorIfMissing(path);
    path += CPartDirectoryLock::kFileName;
    if (path.size() >= MAX_PATH)
        return INVALID_HANDLE_VALUE; // no file of this directory can be made either
    // Every kind of sharing lets the other holders open it at the same time.
    // Windows locks with read access alone, but a file server that maps the
    // lock onto POSIX locks (Samba, Wine) makes an exclusive lock of it only
    // on a file opened for writing.
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        file =
            CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    return file;
}

// The wait cursor while the user waits for another workstation.
class CWaitCursor
{
public:
    CWaitCursor() : m_previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor() { SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};

} // namespace

CPartDirectoryLock::CPartDirectoryLock(const char* partDirectory)
    : m_file(OpenLockFile(partDirectory != nullptr ? partDirectory : ""))
{
}

CPartDirectoryLock::~CPartDirectoryLock()
{
    if (!m_bLocked)
        return;
    OVERLAPPED at = ByteZero();
    UnlockFileEx(m_file.Get(), 0, 1, 0, &at); // closing the handle would drop it as well
}

bool CPartDirectoryLock::Acquire(DWORD timeoutMs)
{
    if (!IsUsable())
        return false;
    const DWORD start = GetTickCount();
    std::optional<CWaitCursor> waiting;
    for (;;)
    {
        OVERLAPPED at = ByteZero();
        if (LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &at))
            return m_bLocked = true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        if (!waiting)
            waiting.emplace();
        Sleep(kRetryMs);
    }
}

} // namespace qel
