#include "cad/PartDirectoryLock.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/AnsiPath.h"
#include "common/SentMessages.h"

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

// The threads of this process inside an insertion's lock: waiting for it or
// holding it.
class CMarkedThreads
{
public:
    CMarkedThreads() { InitializeCriticalSection(&m_section); }
    CMarkedThreads(const CMarkedThreads&) = delete;
    CMarkedThreads& operator=(const CMarkedThreads&) = delete;
    ~CMarkedThreads() { DeleteCriticalSection(&m_section); }

    // False when thread is marked already.
    bool Add(DWORD thread)
    {
        CEntered entered(m_section);
        if (std::find(m_threads.begin(), m_threads.end(), thread) != m_threads.end())
            return false;
        m_threads.push_back(thread);
        return true;
    }
    void Remove(DWORD thread)
    {
        CEntered entered(m_section);
        const auto found = std::find(m_threads.begin(), m_threads.end(), thread);
        if (found != m_threads.end())
            m_threads.erase(found);
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

CMarkedThreads s_marked;

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
        ServeSentMessages(kRetryMs);
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
    : m_path(LockFilePath(partDirectory))
{
    if (m_path.size() >= MAX_PATH)
    {
        m_error = ERROR_FILENAME_EXCED_RANGE; // no file of this directory can be made either
        return;
    }
    // Windows locks with read access alone, but a file server that maps the
    // lock onto POSIX locks (Samba, Wine) makes an exclusive lock of it only
    // on a file opened for writing: writing is asked for first.
    m_file.Reset(OpenLockFile(m_path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, &m_error));
    if (!m_file.IsValid() && m_error == ERROR_ACCESS_DENIED)
    {
        // Another user's lock file that this one may only read (a share's
        // create mask 0644, or rights to create but not to change others'
        // files): it locks all the same. The reason kept is the first one.
        DWORD readError = ERROR_SUCCESS;
        m_file.Reset(OpenLockFile(m_path, GENERIC_READ, OPEN_EXISTING, &readError));
    }
}

CPartDirectoryLock::~CPartDirectoryLock()
{
    if (m_bLocked)
    {
        OVERLAPPED at = ByteZero();
        UnlockFileEx(m_file.Get(), 0, 1, 0, &at); // closing the handle would drop it as well
    }
    if (m_bMarked)
        s_marked.Remove(GetCurrentThreadId());
}

bool CPartDirectoryLock::MarkThread()
{
    if (!m_bMarked)
        m_bMarked = s_marked.Add(GetCurrentThreadId());
    return m_bMarked;
}

WaitOutcome CPartDirectoryLock::TryAcquire()
{
    if (m_bLocked)
        return WaitOutcome::Done;
    if (!IsUsable())
        return WaitOutcome::Failed;
    OVERLAPPED at = ByteZero();
    if (LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
    {
        m_bLocked = true;
        return WaitOutcome::Done;
    }
    m_error = GetLastError();
    // Only a lock that another holder has is waited for; a redirector without
    // byte-range locks or a lost connection will not get better.
    return m_error == ERROR_LOCK_VIOLATION || m_error == ERROR_SHARING_VIOLATION
               ? WaitOutcome::Waiting
               : WaitOutcome::Failed;
}

WaitOutcome CPartDirectoryLock::WaitFor(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    std::optional<CWaitCursor> waiting;
    for (;;)
    {
        const WaitOutcome attempt = TryAcquire();
        if (attempt != WaitOutcome::Waiting)
            return attempt;
        const DWORD elapsed = Elapsed(start);
        if (elapsed >= timeoutMs)
            return WaitOutcome::TimedOut;
        if (!waiting)
            waiting.emplace();
        ServeSentMessages(std::min(kRetryMs, timeoutMs - elapsed));
    }
}

} // namespace qel
