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
// Several processes append to one log: one renames it at a time, so that a
// second one never renames the fresh log the first has just begun.
constexpr const char* kRotationMutexName = "QelSW99_3D.log";
// A rename takes a moment; a holder that takes longer costs this call's trace.
constexpr DWORD kRotationWaitMs = 1000;

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

// Held for one rotation; released by whoever took it.
class CRotationLock
{
public:
    CRotationLock() : m_mutex(CreateMutexA(nullptr, FALSE, kRotationMutexName))
    {
        if (!m_mutex.IsValid())
            return;
        const DWORD waited = WaitForSingleObject(m_mutex.Get(), kRotationWaitMs);
        m_bHeld = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    CRotationLock(const CRotationLock&) = delete;
    CRotationLock& operator=(const CRotationLock&) = delete;
    ~CRotationLock()
    {
        if (m_bHeld)
            ReleaseMutex(m_mutex.Get());
    }

    bool IsHeld() const { return m_bHeld; }

private:
    CHandle m_mutex;
    bool m_bHeld = false;
};

// The log to append lineSize bytes to, after the one held has reached its
// bound: the log at path, renamed to .log.1 first when it is full as well.
// Another process may have renamed it already; then its fresh log is taken
// as it is. Null when the rename or the open fails.
CHandle ReopenWithRoom(const std::string& path, DWORD lineSize)
{
    const CRotationLock lock;
    if (!lock.IsHeld())
        return CHandle();
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
    : m_file(OpenLog(on, m_path)), m_scope(s_current, m_file.IsValid() ? this : nullptr)
{
}

CTrace::~CTrace()
{
    const DWORD lastError = GetLastError();
    m_file.Reset();
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
    DWORD written = 0;
    if (!MakeRoom(size) || !WriteFile(m_file.Get(), line.data(), size, &written, nullptr) ||
        written != size)
        Stop(); // a full disk, a failed rename: silent for the rest of the call
}

bool CTrace::MakeRoom(DWORD lineSize)
{
    if (!WouldPassBound(m_file.Get(), lineSize))
        return true;
    m_file = ReopenWithRoom(m_path, lineSize);
    return m_file.IsValid();
}

} // namespace qel
