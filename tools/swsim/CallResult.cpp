#include "tools/swsim/CallResult.h"

#include <cwchar>

#include "tools/swsim/Bstr.h"
#include "tools/swsim/SimObject.h"

namespace swsim
{

CCallResult CCallResult::Text(std::wstring text)
{
    CCallResult result(Type::Text);
    result.m_text = std::move(text);
    return result;
}

CCallResult CCallResult::Int(long value)
{
    CCallResult result(Type::Int);
    result.m_value = value;
    return result;
}

CCallResult CCallResult::Bool(bool value)
{
    CCallResult result(Type::Bool);
    result.m_value = value ? 1 : 0;
    return result;
}

CCallResult CCallResult::Object(CSimObject& object)
{
    CCallResult result(Type::Object);
    result.m_object = &object;
    return result;
}

CCallResult CCallResult::Fault(std::wstring description)
{
    CCallResult result(Type::Fault);
    result.m_text = std::move(description);
    return result;
}

CCallResult CCallResult::Error(HRESULT error)
{
    CCallResult result(Type::Error);
    result.m_value = error;
    return result;
}

CCallResult CCallResult::Answer(const std::wstring& value)
{
    if (value == L"empty")
    {
        return CCallResult(Type::VariantEmpty);
    }
    return value == L"null" ? CCallResult(Type::Null) : Text(value);
}

std::wstring CCallResult::JournalText() const
{
    switch (m_type)
    {
    case Type::VariantEmpty:
        return L"empty";
    case Type::Null:
        return L"null";
    case Type::None:
        return L"none";
    case Type::Empty:
        return L"empty";
    case Type::Text:
        return L"\"" + m_text + L"\"";
    case Type::Int:
        return std::to_wstring(m_value);
    case Type::Bool:
        return m_value ? L"true" : L"false";
    case Type::Object:
        return m_object->Name();
    case Type::Fault:
        return L"FAIL \"" + m_text + L"\"";
    case Type::Error:
        break;
    }
    wchar_t text[32];
    std::swprintf(text, 32, L"FAIL 0x%08lX", static_cast<unsigned long>(m_value));
    return text;
}

HRESULT CCallResult::Deliver(VARIANT* result, EXCEPINFO* exception, bool emptyAsVariantEmpty) const
{
    if (m_type == Type::Fault)
    {
        if (exception)
        {
            *exception = EXCEPINFO{};
            exception->bstrSource = CBstr(L"SldWorks.Application").Detach();
            exception->bstrDescription = CBstr(m_text).Detach();
            exception->scode = E_FAIL;
        }
        return DISP_E_EXCEPTION;
    }
    if (m_type == Type::Error)
    {
        return static_cast<HRESULT>(m_value);
    }
    if (!result)
    {
        return S_OK;
    }
    VariantInit(result);
    switch (m_type)
    {
    case Type::Empty:
        if (!emptyAsVariantEmpty)
        {
            result->vt = VT_DISPATCH;
            result->pdispVal = nullptr;
        }
        break;
    case Type::Null:
        result->vt = VT_NULL;
        break;
    case Type::Text:
        result->vt = VT_BSTR;
        result->bstrVal = CBstr(m_text).Detach();
        break;
    case Type::Int:
        result->vt = VT_I4;
        result->lVal = m_value;
        break;
    case Type::Bool:
        result->vt = VT_BOOL;
        result->boolVal = m_value ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case Type::Object:
        result->vt = VT_DISPATCH;
        result->pdispVal = m_object;
        m_object->AddRef();
        break;
    default:
        break;
    }
    return S_OK;
}

} // namespace swsim
