// The automation calls the simulator honours: for each object kind and
// dispatch id, the kind of call and the types of its arguments in the
// caller's order.
#pragma once

#include <array>
#include <cstddef>

#include <windows.h>
#include <oaidl.h>

#include "tools/swsim/ObjectKind.h"

namespace swsim
{

enum class CallKind
{
    Method,
    Get,
    Put,
    Other, // any other combination of invoke flags
};

enum class ArgType
{
    Text,   // VT_BSTR, a null string allowed
    Int,    // VT_I4
    Bool,   // VT_BOOL
    IntOut, // VT_BYREF | VT_I4
};

struct CallSignature
{
    ObjectKind object;
    DISPID id;
    CallKind kind;
    size_t argCount;
    std::array<ArgType, 6> args;
};

// Null when the object kind has no member with that dispatch id.
const CallSignature* FindCallSignature(ObjectKind object, DISPID id);

} // namespace swsim
