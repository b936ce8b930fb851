// The trace that support can ask a customer to switch on (key Trace=1 in the
// settings): each export call appends what the plug-in did, asked and was
// answered to QelSW99_3D.log in the user's temporary directory, one line per
// event. Switched off it opens nothing, and an event costs one test of a flag.
// It never changes an outcome: a log that cannot be opened or written leaves
// the trace off for the rest of the call, nothing is thrown, and the calling
// thread's last error code is kept.
//
// The trace belongs to the call its thread runs: host threads calling at once
// each write through their own, never through another's.
#pragma once

#include <windows.h>

#include <string>

#include "common/ThreadSlot.h"
#include "common/WinOwners.h"

namespace qel
{

class CTrace
{
public:
    // Past this size the log is renamed to QelSW99_3D.log.1 (replacing the
    // older history) and a new one begun; log and history together stay
    // within about twice this.
    static constexpr DWORD kLogBound = 1024 * 1024;
    // A line's text is cut to this many bytes: one call with very long values
    // cannot carry the log far past its bound.
    static constexpr int kLineTextBound = 4096;

    // Construction

    // One per export call, on the calling thread. When on, opens the log for
    // appending with full sharing (several processes write at once): one try
    // per call, never repeated within it, so a temporary directory that cannot
    // be reached costs one open. A call made inside another (a host
    // re-entering the plug-in) traces on its own and gives the outer call its
    // trace back when it ends.
    explicit CTrace(bool on) noexcept;
    CTrace(const CTrace&) = delete;
    CTrace& operator=(const CTrace&) = delete;
    ~CTrace();

    // Attributes

    // Whether the calling thread's call is traced.
    static bool IsOn() { return Current() != nullptr; }

    // Operations

    // Appends one line: local time with milliseconds, process id, thread id
    // (decimal) and the formatted text, in one WriteFile while holding the
    // log's mutex (one writer at a time, in every process). Line breaks in the
    // text become blanks. A log that reached its bound is renamed first; when
    // that fails the trace stops for the call. Does nothing while the trace is
    // off.
    static void Line(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));

private:
    static CTrace* Current();
    static void Stop();

    void Write(const char* format, va_list args);
    bool MakeRoom(DWORD lineSize);

    std::string m_path;
    CHandle m_file;
    CHandle m_mutex; // shared by every writer of the log
    CThreadSlotScope<CTrace> m_scope;
};

} // namespace qel
