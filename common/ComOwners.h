// Owners for the automation types: a BSTR freed with SysFreeString and a VARIANT
// cleared with VariantClear. (mingw-w64 ships _bstr_t/_variant_t only as
// headers; their support library is missing, so these two small owners stand in.)
#pragma once

#include <string>
#include <utility>

#include <windows.h>
#include <oleauto.h>

namespace qel
{

class CBstr
{
public:
    CBstr() = default;
    // A single-byte text in the system code page; null gives a null string.
    explicit CBstr(const char* text);
    // A wide text kept as it is; null gives a null string.
    explicit CBstr(const wchar_t* text) : m_bstr(text != nullptr ? SysAllocString(text) : nullptr)
    {
    }
    CBstr(CBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    ~CBstr() { SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }
    // Hands the string to a VARIANT or a callee that frees it.
    BSTR Detach() { return std::exchange(m_bstr, nullptr); }

private:
    BSTR m_bstr = nullptr;
};

// The single-byte text (system code page) of a wide text; null gives "".
std::string NarrowText(const wchar_t* text);

class CVariant
{
public:
    CVariant() { VariantInit(&m_value); }
    CVariant(CVariant&& other) noexcept : m_value(other.m_value) { VariantInit(&other.m_value); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { VariantClear(&m_value); }

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }
    void Clear() { VariantClear(&m_value); }

    static CVariant Text(const char* text);
    // A wide text, passed on without a trip through the code page.
    static CVariant WideText(const wchar_t* text);
    static CVariant Long(long value);
    static CVariant Bool(bool value);
    // A reference to a LONG of the caller (an out-argument); nothing is owned.
    static CVariant LongRef(long* target);

private:
    VARIANT m_value;
};

} // namespace qel
