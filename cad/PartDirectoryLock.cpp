#include "cad/PartDirectoryLock.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/AnsiPath.h"
#include "common/SentMessageWait.h"

namespace qel
{

namespace
{

constexpr DWORD kRetryMs = 50;
// How long a lock file that another program holds open without sharing (a
// virus scanner, a backup) is tried again before the call gives up.
constexpr DWORD kOpenRetryMs = 2000;
// Every kind of sharing lets the other holders open it at the same time.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// OVERLAPPED naming byte 0, the one byte every holder locks.
OVERLAPPED ByteZero()
{
    OVERLAPPED at = {};
    return at;
}

DWORD Elapsed(DWORD since)
{
    return GetTickCount() - since;
}

// The threads of this process that hold a part directory's lock now.
class CHolderThreads
{
public:
    CHolderThreads() { InitializeCriticalSection(&m_section); }
    CHolderThreads(const CHolderThreads&) = delete;
    CHolderThreads& operator=(const CHolderThreads&) = delete;
    ~CHolderThreads() { DeleteCriticalSection(&m_section); }

    void Add(DWORD thread)
    {
        CEntered entered(m_section);
        m_threads.push_back(thread);
    }
    void Remove(DWORD thread)
    {
        CEntered entered(m_section);
        const auto found = std::find(m_threads.begin(), m_threads.end(), thread);
        if (found != m_threads.end())
            m_threads.erase(found);
    }
    bool Contains(DWORD thread)
    {
        CEntered entered(m_section);
        return std::find(m_threads.begin(), m_threads.end(), thread) != m_threads.end();
    }

private:
    class CEntered
    {
    public:
        explicit CEntered(CRITICAL_SECTION& section) : m_section(section)
        {
            EnterCriticalSection(&m_section);
        }
        CEntered(const CEntered&) = delete;
        CEntered& operator=(const CEntered&) = delete;
        ~CEntered() { LeaveCriticalSection(&m_section); }

    private:
        CRITICAL_SECTION& m_section;
    };

    CRITICAL_SECTION m_section;
    std::vector<DWORD> m_threads;
};

CHolderThreads s_holders;

std::string LockFilePath(const char* partDirectory)
{
    std::string path = partDirectory != nullptr ? partDirectory : "";
    AppendSeparatorIfMissing(path);
    return path + CPartDirectoryLock::kFileName;
}

// Opens the lock file as access allows; a sharing violation is tried again
// for a moment. The handle, or INVALID_HANDLE_VALUE with the reason in error.
HANDLE OpenLockFile(const std::string& path, DWORD access, DWORD disposition, DWORD* error)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        HANDLE file = CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        *error = GetLastError();
        if (*error != ERROR_SHARING_VIOLATION || Elapsed(start) >= kOpenRetryMs)
            return INVALID_HANDLE_VALUE;
        CPartDirectoryLock::ServeSentMessages(kRetryMs);
    }
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
{
    const std::string path = LockFilePath(partDirectory);
    if (path.size() >= MAX_PATH)
    {
        m_error = ERROR_FILENAME_EXCED_RANGE; // no file of this directory can be made either
        return;
    }
    // Windows locks with read access alone, but a file server that maps the
    // lock onto POSIX locks (Samba, Wine) makes an exclusive lock of it only
    // on a file opened for writing.
    m_file.Reset(OpenLockFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, &m_error));
    m_bWritable = m_file.IsValid();
    if (!m_file.IsValid() && m_error == ERROR_ACCESS_DENIED)
    {
        // A directory this user may only read: existing parts are still opened.
        DWORD readError = ERROR_SUCCESS;
        m_file.Reset(OpenLockFile(path, GENERIC_READ, OPEN_EXISTING, &readError));
    }
}

CPartDirectoryLock::~CPartDirectoryLock()
{
    if (!m_bLocked)
        return;
    OVERLAPPED at = ByteZero();
    UnlockFileEx(m_file.Get(), 0, 1, 0, &at); // closing the handle would drop it as well
    s_holders.Remove(GetCurrentThreadId());
}

bool CPartDirectoryLock::IsHeldByThisThread()
{
    return s_holders.Contains(GetCurrentThreadId());
}

CPartDirectoryLock::Attempt CPartDirectoryLock::TryAcquire()
{
    if (m_bLocked)
        return Attempt::Acquired;
    if (!IsUsable())
        return Attempt::Failed;
    OVERLAPPED at = ByteZero();
    if (LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
    {
        m_bLocked = true;
        s_holders.Add(GetCurrentThreadId());
        return Attempt::Acquired;
    }
    m_error = GetLastError();
    // Only a lock that another holder has is waited for; a redirector without
    // byte-range locks or a lost connection will not get better.
    return m_error == ERROR_LOCK_VIOLATION || m_error == ERROR_SHARING_VIOLATION ? Attempt::Busy
                                                                                 : Attempt::Failed;
}

CPartDirectoryLock::Attempt CPartDirectoryLock::WaitFor(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    std::optional<CWaitCursor> waiting;
    for (;;)
    {
        const Attempt attempt = TryAcquire();
        if (attempt != Attempt::Busy)
            return attempt;
        const DWORD elapsed = Elapsed(start);
        if (elapsed >= timeoutMs)
            return Attempt::TimedOut;
        if (!waiting)
            waiting.emplace();
        ServeSentMessages(std::min(kRetryMs, timeoutMs - elapsed));
    }
}

void CPartDirectoryLock::ServeSentMessages(DWORD waitMs)
{
    WaitServingSentMessages(nullptr, waitMs);
}

} // namespace qel
