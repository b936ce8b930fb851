// The one helper through which every late-bound automation call is made.
#pragma once

#include <initializer_list>

#include <windows.h>
#include <oaidl.h>

#include "common/ComOwners.h"

namespace qel
{

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
CVariant InvokeDispatch(IDispatch* target, DISPID id, DispatchKind kind,
                        std::initializer_list<const CVariant*> args = {}, bool wantResult = true);

} // namespace qel
