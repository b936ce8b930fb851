#include "common/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "common/AnsiPath.h"
#include "common/BoundedString.h"

namespace qel
{

namespace
{

constexpr const char* kLogName = "QelSW99_3D.log";
constexpr const char* kOldLogSuffix = ".1";
// One line is written, or the log renamed, at a time, by every thread of every
// process: appends through several handles are not atomic everywhere (Wine
// finds the end and writes there in two steps), and a second process must
// never rename the fresh log that the first has just begun.
constexpr const char* kLogMutexName = "QelSW99_3D.log";
// A line takes a moment; a holder that takes longer costs this call's trace.
constexpr DWORD kLogWaitMs = 1000;

// The trace of the call each thread runs; one index per load of the plug-in.
CThreadSlot<CTrace> s_current;

// Appending only: every WriteFile lands at the end as one piece, whoever
// else appends meanwhile. Others may read, write, rename and delete it.
HANDLE OpenForAppending(const char* path)
{
    return CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether lineSize more bytes would carry the file past the bound.
bool WouldPassBound(HANDLE file, DWORD lineSize)
{
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE)
        return true; // a size that cannot be told is treated as full
    return high != 0 || low > CTrace::kLogBound || lineSize > CTrace::kLogBound - low;
}

// The log's path in the temporary directory; empty when there is none.
std::string LogPath()
{
    char path[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    return std::string(path) + kLogName;
}

// The log's mutex, held for one line.
class CLogLock
{
public:
    explicit CLogLock(HANDLE mutex) : m_mutex(mutex), m_bHeld(false)
    {
        const DWORD waited = WaitForSingleObject(m_mutex, kLogWaitMs);
        m_bHeld = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    CLogLock(const CLogLock&) = delete;
    CLogLock& operator=(const CLogLock&) = delete;
    ~CLogLock()
    {
        if (m_bHeld)
            ReleaseMutex(m_mutex);
    }

    bool IsHeld() const { return m_bHeld; }

private:
    HANDLE m_mutex;
    bool m_bHeld;
};

// The log to append lineSize bytes to, after the one held has reached its
// bound: the log at path, renamed to .log.1 first when it is full as well.
// Another process may have renamed it already; then its fresh log is taken
// as it is. Null when the rename or the open fails.
CHandle ReopenWithRoom(const std::string& path, DWORD lineSize)
{
    CHandle current(OpenForAppending(path.c_str()));
    if (!current.IsValid())
        return CHandle();
    if (!WouldPassBound(current.Get(), lineSize))
        return current;
    current.Reset();
    if (!MoveFileExA(path.c_str(), (path + kOldLogSuffix).c_str(), MOVEFILE_REPLACE_EXISTING))
        return CHandle(); // the history held without delete sharing, say
    return CHandle(OpenForAppending(path.c_str()));
}

CHandle OpenLog(bool on, std::string& path)
{
    if (!on)
        return CHandle();
    const DWORD lastError = GetLastError();
    CHandle file;
    try
    {
        path = LogPath();
        if (!path.empty())
            file.Reset(OpenForAppending(path.c_str()));
    }
    catch (...)
    {
        // out of memory: no trace
    }
    SetLastError(lastError);
    return file;
}

// The line's text formatted and cut to its bound (at a whole character),
// with the length it would have had when cut.
std::string FormatLineText(const char* format, va_list args)
{
    std::string text(CTrace::kLineTextBound + 1, '\0');
    const int length = std::vsnprintf(&text[0], text.size(), format, args);
    if (length < 0)
        return std::string();
    if (length <= CTrace::kLineTextBound)
    {
        text.resize(static_cast<std::size_t>(length));
        return text;
    }
    text.resize(WholeCharactersLength(text.c_str(), CTrace::kLineTextBound));
    return text + " [cut from " + std::to_string(length) + " bytes]";
}

} // namespace

CTrace::CTrace(bool on) noexcept
    : m_file(OpenLog(on, m_path)),
      m_mutex(m_file.IsValid() ? CreateMutexA(nullptr, FALSE, kLogMutexName) : nullptr),
      m_scope(s_current, m_mutex.IsValid() ? this : nullptr)
{
}

CTrace::~CTrace()
{
    const DWORD lastError = GetLastError();
    m_file.Reset();
    m_mutex.Reset();
    SetLastError(lastError);
}

CTrace* CTrace::Current()
{
    return s_current.Get();
}

void CTrace::Stop()
{
    if (CTrace* current = Current())
        current->m_file.Reset();
    s_current.Set(nullptr); // the scope gives the outer call its trace back
}

void CTrace::Line(const char* format, ...) noexcept
{
    CTrace* current = Current();
    if (current == nullptr)
        return;
    const DWORD lastError = GetLastError();
    va_list args;
    va_start(args, format);
    try
    {
        current->Write(format, args);
    }
    catch (...)
    {
        Stop(); // out of memory: the rest of the call goes untraced
    }
    va_end(args);
    SetLastError(lastError);
}

void CTrace::Write(const char* format, va_list args)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char head[64];
    FormatBounded(head, sizeof head, "%04u-%02u-%02u %02u:%02u:%02u.%03u %lu %lu ", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  GetCurrentProcessId(), GetCurrentThreadId());
    std::string line(head);
    const std::size_t textStart = line.size();
    line += FormatLineText(format, args);
    for (std::size_t i = textStart; i < line.size(); ++i)
    {
        if (line[i] == '\r' || line[i] == '\n')
            line[i] = ' ';
    }
    line.append("\r\n");
    const auto size = static_cast<DWORD>(line.size());
    const CLogLock lock(m_mutex.Get());
    DWORD written = 0;
    if (!lock.IsHeld() || !MakeRoom(size) ||
        !WriteFile(m_file.Get(), line.data(), size, &written, nullptr) || written != size)
        Stop(); // a full disk, a failed rename, a hung holder: silent for the rest of the call
}

bool CTrace::MakeRoom(DWORD lineSize)
{
    if (!WouldPassBound(m_file.Get(), lineSize))
        return true;
    m_file = ReopenWithRoom(m_path, lineSize);
    return m_file.IsValid();
}

} // namespace qel
