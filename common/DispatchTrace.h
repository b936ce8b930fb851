// The trace lines of the automation helper: what was called, with which
// arguments, what came back (or the failure) and how long it took.
#pragma once

#include <initializer_list>

#include <windows.h>
#include <oaidl.h>

#include "common/AutomationFailure.h"
#include "common/DispatchCall.h"

namespace qel
{

// One call: "call 0xC method RevisionNumber () -> "9.0" (1 ms)". The arguments
// are shown as they are after the call (an out-argument with its answer).
// answer: the result, or null after failure (the failure then says why).
void TraceDispatchCall(DispatchId id, DispatchKind kind,
                       std::initializer_list<const CVariant*> args, const VARIANT* answer,
                       const CAutomationFailure* failure, DWORD milliseconds) noexcept;

// A call that the server rejected while busy and that is tried again.
void TraceRejectedCall(DispatchId id, HRESULT result, DWORD milliseconds) noexcept;

} // namespace qel
