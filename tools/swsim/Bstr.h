// Owner of a BSTR (freed with SysFreeString). The simulator works in wide text
// throughout, so it keeps its own small owners and shares no code with the
// plug-in it tests.
#pragma once

#include <string>
#include <utility>

#include <windows.h>
#include <oleauto.h>

namespace swsim
{

class CBstr
{
public:
    CBstr() = default;
    explicit CBstr(const std::wstring& text)
        : m_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    CBstr(CBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    CBstr& operator=(CBstr&&) = delete;
    ~CBstr() { SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }
    std::wstring Text() const { return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : L""; }

    // Hands the string to a VARIANT or EXCEPINFO whose receiver frees it.
    BSTR Detach() { return std::exchange(m_bstr, nullptr); }
    // For an out-parameter: frees what was held first.
    BSTR* Receive()
    {
        SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }

private:
    BSTR m_bstr = nullptr;
};

} // namespace swsim
