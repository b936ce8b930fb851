#include "common/ComOwners.h"

#include <vector>

namespace qel
{

CBstr::CBstr(const char* text)
{
    if (text == nullptr)
        return;
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wideLength <= 0)
        return;
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
    m_bstr = SysAllocString(wide.data());
}

std::string NarrowText(const wchar_t* text)
{
    if (text == nullptr)
        return std::string();
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length) - 1);
    return narrow;
}

CVariant CVariant::Text(const char* text)
{
    CVariant value;
    value.m_value.vt = VT_BSTR;
    value.m_value.bstrVal = CBstr(text).Detach();
    return value;
}

CVariant CVariant::WideText(const wchar_t* text)
{
    CVariant value;
    value.m_value.vt = VT_BSTR;
    value.m_value.bstrVal = CBstr(text).Detach();
    return value;
}

CVariant CVariant::Long(long value)
{
    CVariant result;
    result.m_value.vt = VT_I4;
    result.m_value.lVal = value;
    return result;
}

CVariant CVariant::Bool(bool value)
{
    CVariant result;
    result.m_value.vt = VT_BOOL;
    result.m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

CVariant CVariant::LongRef(long* target)
{
    CVariant result;
    result.m_value.vt = VT_BYREF | VT_I4;
    result.m_value.plVal = target;
    return result;
}

} // namespace qel
