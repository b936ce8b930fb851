#include "tools/swsim/DispatchCall.h"

#include <cwchar>

namespace swsim
{
namespace
{

std::wstring Hex(unsigned long value)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%lX", value);
    return text;
}

std::wstring ArgumentText(const VARIANT& value)
{
    switch (value.vt)
    {
    case VT_BSTR:
        return value.bstrVal
                   ? L"\"" + std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) + L"\""
                   : L"null";
    case VT_I4:
        return std::to_wstring(value.lVal);
    case VT_BOOL:
        return value.boolVal ? L"true" : L"false";
    case VT_BYREF | VT_I4:
        return value.plVal ? L"&" + std::to_wstring(*value.plVal) : L"&null";
    case VT_EMPTY:
        return L"empty";
    default:
        return L"<vt " + Hex(value.vt) + L">";
    }
}

bool HasType(const VARIANT& value, ArgType type)
{
    switch (type)
    {
    case ArgType::Text:
        return value.vt == VT_BSTR;
    case ArgType::Int:
        return value.vt == VT_I4;
    case ArgType::Bool:
        return value.vt == VT_BOOL;
    case ArgType::IntOut:
        return value.vt == (VT_BYREF | VT_I4) && value.plVal != nullptr;
    }
    return false;
}

} // namespace

CDispatchCall::CDispatchCall(WORD flags, DISPPARAMS* params)
    : m_flags(flags), m_namedCount(params ? params->cNamedArgs : 0),
      m_namedIds(params ? params->rgdispidNamedArgs : nullptr)
{
    if (!params || !params->rgvarg)
    {
        return;
    }
    // Positional arguments lie in reverse order above the named ones; the
    // named ones (a property put's value) follow them in the caller's view.
    for (UINT i = params->cArgs; i > params->cNamedArgs; --i)
    {
        m_args.push_back({&params->rgvarg[i - 1], i - 1});
    }
    for (UINT i = 0; i < params->cNamedArgs && i < params->cArgs; ++i)
    {
        m_args.push_back({&params->rgvarg[i], i});
    }
}

CallKind CDispatchCall::Kind() const
{
    switch (m_flags)
    {
    case DISPATCH_METHOD:
        return CallKind::Method;
    case DISPATCH_PROPERTYGET:
        return CallKind::Get;
    case DISPATCH_PROPERTYPUT:
        return CallKind::Put;
    default:
        return CallKind::Other;
    }
}

std::wstring CDispatchCall::KindText() const
{
    switch (Kind())
    {
    case CallKind::Method:
        return L"method";
    case CallKind::Get:
        return L"get";
    case CallKind::Put:
        return L"put";
    case CallKind::Other:
        break;
    }
    return L"flags " + Hex(m_flags);
}

std::wstring CDispatchCall::ArgumentsText() const
{
    std::wstring text = L"(";
    for (const Argument& argument : m_args)
    {
        if (&argument != &m_args.front())
        {
            text += L", ";
        }
        text += ArgumentText(*argument.value);
    }
    return text + L")";
}

HRESULT CDispatchCall::Check(const CallSignature& signature, UINT* argErr) const
{
    if (Kind() != signature.kind)
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (signature.kind == CallKind::Put)
    {
        if (m_namedCount != 1 || !m_namedIds || m_namedIds[0] != DISPID_PROPERTYPUT)
        {
            return DISP_E_PARAMNOTFOUND;
        }
    }
    else if (m_namedCount != 0)
    {
        return DISP_E_NONAMEDARGS;
    }
    if (m_args.size() != signature.argCount)
    {
        return DISP_E_BADPARAMCOUNT;
    }
    for (size_t i = 0; i < m_args.size(); ++i)
    {
        if (!HasType(*m_args[i].value, signature.args[i]))
        {
            if (argErr)
            {
                *argErr = m_args[i].rgvargIndex;
            }
            return DISP_E_TYPEMISMATCH;
        }
    }
    return S_OK;
}

std::wstring CDispatchCall::Text(size_t index) const
{
    const BSTR text = m_args[index].value->bstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

bool CDispatchCall::Bool(size_t index) const
{
    return m_args[index].value->boolVal != VARIANT_FALSE;
}

long CDispatchCall::Int(size_t index) const
{
    return m_args[index].value->lVal;
}

void CDispatchCall::SetOut(size_t index, long value) const
{
    *m_args[index].value->plVal = value;
}

} // namespace swsim
