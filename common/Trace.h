// The trace that support can ask a customer to switch on (key Trace=1 in the
// settings): each export call appends what the plug-in did, asked and was
// answered to QelSW99_3D.log in the user's temporary directory, one line per
// event. Switched off it opens nothing, and an event costs one test of a flag.
// It never changes an outcome: a log that cannot be opened or written leaves
// the trace off for the rest of the call, nothing is thrown, and the calling
// thread's last error code is kept.
#pragma once

#include <windows.h>

#include "common/WinOwners.h"

namespace qel
{

class CTrace
{
public:
    // Construction

    // One per export call, on the calling thread. When on, opens the log for
    // appending with full sharing (several processes write at once); a log
    // grown past its bound is first renamed to QelSW99_3D.log.1. A call made
    // inside another (a host re-entering the plug-in) traces on its own and
    // gives the outer call its trace back when it ends.
    explicit CTrace(bool on) noexcept;
    CTrace(const CTrace&) = delete;
    CTrace& operator=(const CTrace&) = delete;
    ~CTrace();

    // Attributes

    static bool IsOn() { return s_pCurrent != nullptr; }

    // Operations

    // Appends one line: local time with milliseconds, process id, thread id
    // (decimal) and the formatted text, in one WriteFile. Line breaks in the
    // text become blanks. Does nothing while the trace is off.
    static void Line(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));

private:
    static void Write(const char* format, va_list args);

    static CTrace* s_pCurrent;

    CHandle m_file;
    CTrace* m_pOuter;
};

} // namespace qel
