// One incoming IDispatch::Invoke seen from the callee: the kind of call, the
// arguments in the caller's order (rgvarg holds them in reverse), their check
// against a signature, and their journal form.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <oleauto.h>

#include "tools/swsim/CallSignature.h"

namespace swsim
{

class CDispatchCall
{
public:
    CDispatchCall(WORD flags, DISPPARAMS* params);

    CallKind Kind() const;
    // "method", "get", "put", or "flags 0x.." for anything else.
    std::wstring KindText() const;
    // "(...)": texts quoted, a null string as null, I4 in decimal, booleans as
    // true/false, a byref I4 as &N with its value on entry.
    std::wstring ArgumentsText() const;

    // S_OK, or the HRESULT that IDispatch::Invoke returns for this mismatch
    // (with *argErr set for a type mismatch).
    HRESULT Check(const CallSignature& signature, UINT* argErr) const;

    // Accessors by position in the caller's order; only valid after Check.
    std::wstring Text(size_t index) const;
    bool Bool(size_t index) const;
    long Int(size_t index) const;
    void SetOut(size_t index, long value) const;

private:
    struct Argument
    {
        VARIANT* value;
        UINT rgvargIndex;
    };

    WORD m_flags;
    UINT m_namedCount;
    const DISPID* m_namedIds;
    std::vector<Argument> m_args;
};

} // namespace swsim
