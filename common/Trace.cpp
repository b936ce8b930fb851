#include "common/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "common/BoundedString.h"

namespace qel
{

namespace
{

constexpr const char* kLogName = "QelSW99_3D.log";
constexpr const char* kOldLogSuffix = ".1";
// Past this size the log is renamed and a new one begun.
constexpr DWORD kLogBound = 1024 * 1024;

// Appending only: every WriteFile lands at the end as one piece, whoever
// else appends meanwhile. Others may read, write, rename and delete it.
HANDLE OpenForAppending(const char* path)
{
    return CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IsPastBound(HANDLE file)
{
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    return low != INVALID_FILE_SIZE && (high != 0 || low > kLogBound);
}

CHandle OpenLog()
{
    char path[MAX_PATH + 16];
    const DWORD length = GetTempPathA(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return CHandle(); // no temporary directory: no trace
    AppendBounded(path, sizeof path, kLogName);
    CHandle file(OpenForAppending(path));
    if (!file.IsValid() || !IsPastBound(file.Get()))
        return file;
    file.Reset();
    char oldPath[sizeof path];
    CopyBounded(oldPath, sizeof oldPath, path);
    AppendBounded(oldPath, sizeof oldPath, kOldLogSuffix);
    MoveFileExA(path, oldPath, MOVEFILE_REPLACE_EXISTING); // another process may have been first
    return CHandle(OpenForAppending(path));
}

} // namespace

CTrace* CTrace::s_pCurrent = nullptr;

CTrace::CTrace(bool on) noexcept : m_pOuter(s_pCurrent)
{
    s_pCurrent = nullptr;
    if (!on)
        return;
    const DWORD lastError = GetLastError();
    m_file = OpenLog();
    if (m_file.IsValid())
        s_pCurrent = this;
    SetLastError(lastError);
}

CTrace::~CTrace()
{
    const DWORD lastError = GetLastError();
    m_file.Reset();
    s_pCurrent = m_pOuter;
    SetLastError(lastError);
}

void CTrace::Line(const char* format, ...) noexcept
{
    if (s_pCurrent == nullptr)
        return;
    const DWORD lastError = GetLastError();
    va_list args;
    va_start(args, format);
    try
    {
        Write(format, args);
    }
    catch (...)
    {
        s_pCurrent = nullptr; // out of memory: the rest of the call goes untraced
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
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0)
        return;
    std::string line(head);
    const std::size_t textStart = line.size();
    line.resize(textStart + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(&line[textStart], static_cast<std::size_t>(length) + 1, format, args);
    line.resize(textStart + static_cast<std::size_t>(length));
    for (std::size_t i = textStart; i < line.size(); ++i)
    {
        if (line[i] == '\r' || line[i] == '\n')
            line[i] = ' ';
    }
    line.append("\r\n");
    DWORD written = 0;
    if (!WriteFile(s_pCurrent->m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written,
                   nullptr) ||
        written != line.size())
        s_pCurrent = nullptr; // a full disk, say: silent for the rest of the call
}

} // namespace qel
