// A tiny automation caller for the simulator's tests, calling by dispatch id
// the way the plug-in does: arguments in the caller's order, reversed into
// rgvarg; a put passes DISPID_PROPERTYPUT as its one named argument.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/swsim/Bstr.h"
#include "tools/swsim/Variant.h"

namespace swsimtest
{

using Microsoft::WRL::ComPtr;

// Argument VARIANTs, owned until the call is over.
class CArgs
{
public:
    CArgs() = default;
    CArgs(const CArgs&) = delete;
    CArgs& operator=(const CArgs&) = delete;
    ~CArgs();

    CArgs& Text(const std::wstring& text);
    CArgs& NullText();
    CArgs& Int(long value);
    CArgs& Short(short value);
    CArgs& Bool(bool value);
    // A byref I4 pointing at a LONG of the caller.
    CArgs& IntOut(long* target);

    // The arguments in rgvarg order (last argument first); still owned here.
    std::vector<VARIANT> Reversed() const { return {m_values.rbegin(), m_values.rend()}; }

private:
    CArgs& Add(const VARIANT& value);

    std::vector<VARIANT> m_values;
};

struct CallOutcome
{
    HRESULT hr = E_UNEXPECTED;
    std::unique_ptr<swsim::CVariant> result = std::make_unique<swsim::CVariant>();
    std::wstring description; // of DISP_E_EXCEPTION
    UINT argErr = ~0u;

    VARTYPE Type() const { return result->Value().vt; }
    ComPtr<IDispatch> Object() const;
    std::wstring Text() const;
    long Int() const;
    bool Bool() const;
};

// named: pass DISPID_PROPERTYPUT as the one named argument.
CallOutcome InvokeRaw(IDispatch* object, DISPID id, WORD flags, const CArgs& args, bool named);
CallOutcome Method(IDispatch* object, DISPID id, const CArgs& args = CArgs());
CallOutcome Get(IDispatch* object, DISPID id);
CallOutcome Put(IDispatch* object, DISPID id, const CArgs& value);

// Wine's IDispatch stub hands the callee copies of the arguments made with
// VariantCopy, which turns a null BSTR into an empty one: a null text that a
// client passes is journaled as an empty text.
constexpr char kNullTextJournaled[] = R"("")";

// Dispatch ids of the calls the plug-in makes.
constexpr DISPID kAppActiveDoc = 1;
constexpr DISPID kAppFallbackDoc = 9;
constexpr DISPID kAppRevision = 12;
constexpr DISPID kAppCloseDoc = 33;
constexpr DISPID kAppLoadSat = 49;
constexpr DISPID kAppFirstDoc = 85;
constexpr DISPID kAppActivateDoc = 91;
constexpr DISPID kAppOpenDoc = 99;
constexpr DISPID kDocSaveAs = 0x10025;
constexpr DISPID kDocView = 0x10002;
constexpr DISPID kDocTitle = 0x10047;
constexpr DISPID kDocType = 0x10049;
constexpr DISPID kDocVisible = 0x100E1;
constexpr DISPID kDocRefresh = 0x10065;
constexpr DISPID kDocLastCall = 0x10068;
constexpr DISPID kDocAddProperty = 0x1018F;
constexpr DISPID kDocNext = 0x101C1;
constexpr DISPID kViewWindow = 2;
constexpr DISPID kViewRedraw = 17;

} // namespace swsimtest
