#include "cad/AutomationRef.h"

#include <utility>

#include <wrl/client.h>

#include "cad/SolidWorksCallFilter.h"
#include "common/AutomationFailure.h"

namespace qel
{

namespace
{

// Converts a result to the wanted type; an unconvertible result is a failure.
void ChangeType(VARIANT* value, VARTYPE type)
{
    if (value->vt == type)
        return;
    HRESULT hr = VariantChangeType(value, value, 0, type);
    if (FAILED(hr))
        throw CAutomationFailure(hr, DescribeFailureCode(hr));
}

} // namespace

CAutomationRef::CAutomationRef(CAutomationRef&& other) noexcept
    : m_pObject(std::exchange(other.m_pObject, nullptr)), m_bOwning(other.m_bOwning)
{
}

CAutomationRef& CAutomationRef::operator=(CAutomationRef&& other) noexcept
{
    if (this != &other)
    {
        Empty();
        m_pObject = std::exchange(other.m_pObject, nullptr);
        m_bOwning = other.m_bOwning;
    }
    return *this;
}

bool CAutomationRef::IsSameObject(const CAutomationRef& other) const
{
    if (IsEmpty() || other.IsEmpty())
        return false;
    Microsoft::WRL::ComPtr<IUnknown> mine;
    Microsoft::WRL::ComPtr<IUnknown> theirs;
    return SUCCEEDED(m_pObject->QueryInterface(IID_PPV_ARGS(&mine))) &&
           SUCCEEDED(other.m_pObject->QueryInterface(IID_PPV_ARGS(&theirs))) &&
           mine.Get() == theirs.Get();
}

void CAutomationRef::Attach(IDispatch* object, bool owning)
{
    Empty();
    m_pObject = object;
    m_bOwning = owning;
}

void CAutomationRef::Empty()
{
    IDispatch* object = std::exchange(m_pObject, nullptr);
    if (object != nullptr && m_bOwning)
        object->Release();
}

CVariant CAutomationRef::Call(DispatchId id, DispatchKind kind,
                              std::initializer_list<const CVariant*> args)
{
    if (IsEmpty())
        return CVariant();
    return Invoke(id, kind, args, true);
}

void CAutomationRef::CallWithoutResult(DispatchId id, DispatchKind kind,
                                       std::initializer_list<const CVariant*> args)
{
    if (!IsEmpty())
        Invoke(id, kind, args, false);
}

CVariant CAutomationRef::Invoke(DispatchId id, DispatchKind kind,
                                std::initializer_list<const CVariant*> args, bool wantResult)
{
    const CSolidWorksCallFilter::CCallScope scope;
    try
    {
        // SolidWorks rejecting the call (busy) is waited for like a call it
        // does not answer.
        CVariant result =
            InvokeDispatch(m_pObject, id, kind, args, wantResult,
                           [&scope](DWORD elapsedMs)
                           { return scope.WatchRejection(elapsedMs) == WaitOutcome::Waiting; });
        scope.ThrowIfCancelled();
        return result;
    }
    catch (const CAutomationFailure&)
    {
        // A cancelled call fails with the cancellation, whatever COM made of it.
        scope.ThrowIfCancelled();
        throw;
    }
}

std::string CAutomationRef::CallText(DispatchId id, std::initializer_list<const CVariant*> args)
{
    CVariant result = Call(id, DispatchKind::Method, args);
    if (result.Value().vt == VT_EMPTY || result.Value().vt == VT_NULL)
        return std::string();
    ChangeType(result.Get(), VT_BSTR);
    return NarrowText(result.Value().bstrVal);
}

std::wstring CAutomationRef::CallWideText(DispatchId id,
                                          std::initializer_list<const CVariant*> args)
{
    CVariant result = Call(id, DispatchKind::Method, args);
    if (result.Value().vt == VT_EMPTY || result.Value().vt == VT_NULL)
        return std::wstring();
    ChangeType(result.Get(), VT_BSTR);
    const BSTR text = result.Value().bstrVal;
    return text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

long CAutomationRef::CallLong(DispatchId id, std::initializer_list<const CVariant*> args)
{
    CVariant result = Call(id, DispatchKind::Method, args);
    if (result.Value().vt == VT_EMPTY)
        return 0;
    ChangeType(result.Get(), VT_I4);
    return result.Value().lVal;
}

IDispatch* CAutomationRef::CallObject(DispatchId id, DispatchKind kind,
                                      std::initializer_list<const CVariant*> args)
{
    CVariant result = Call(id, kind, args);
    VARIANT& value = *result.Get();
    if (value.vt == VT_DISPATCH && value.pdispVal != nullptr)
        return std::exchange(value.pdispVal, nullptr); // the VARIANT's reference is handed on
    if (value.vt == VT_UNKNOWN && value.punkVal != nullptr)
    {
        IDispatch* object = nullptr;
        if (SUCCEEDED(
                value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object))))
            return object;
    }
    if (value.vt == VT_EMPTY || value.vt == VT_NULL || value.vt == VT_DISPATCH ||
        value.vt == VT_UNKNOWN)
        return nullptr;
    throw CAutomationFailure(DISP_E_TYPEMISMATCH, DescribeFailureCode(DISP_E_TYPEMISMATCH));
}

} // namespace qel
