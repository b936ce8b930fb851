// The one helper through which every late-bound automation call is made.
#pragma once

#include <functional>
#include <initializer_list>

#include <windows.h>
#include <oaidl.h>

#include "common/ComOwners.h"

namespace qel
{

// A dispatch id with the name the code gives that call (the trace shows it).
struct DispatchId
{
    constexpr DispatchId(DISPID value, const char* callName = "") : id(value), name(callName) {}

    DISPID id;
    const char* name;
};

enum class DispatchKind
{
    Method,
    PropertyGet,
    PropertyPut,
};

// Calls dispatch id on target with the arguments in the caller's order (they go
// into rgvarg reversed). A property put passes DISPID_PROPERTYPUT as its one
// named argument. Returns the result (VT_EMPTY for a call without one).
// Throws CAutomationFailure carrying the server's description on failure.
// Each call, and each rejection that is tried again, goes into the trace.
// A call the server rejects (busy) is tried again, serving sent messages in
// the pauses, for as long as keepTrying (given the milliseconds since the
// first try) answers true; without it, for a few seconds.
CVariant InvokeDispatch(IDispatch* target, DispatchId id, DispatchKind kind,
                        std::initializer_list<const CVariant*> args = {}, bool wantResult = true,
                        const std::function<bool(DWORD)>& keepTrying = {});

} // namespace qel
