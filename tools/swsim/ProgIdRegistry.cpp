#include "tools/swsim/ProgIdRegistry.h"

#include <string>
#include <utility>

#include <objbase.h>

namespace swsim
{
namespace
{

// Owner of an open registry key.
class CRegKey
{
public:
    CRegKey() = default;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey()
    {
        if (m_key)
        {
            RegCloseKey(m_key);
        }
    }

    HKEY Get() const { return m_key; }
    HKEY* Receive() { return &m_key; }

private:
    HKEY m_key = nullptr;
};

LONG SetDefaultValue(const std::wstring& path, const std::wstring& value)
{
    CRegKey key;
    const LONG created = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                         KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (created != ERROR_SUCCESS)
    {
        return created;
    }
    return RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring ClsidText(const CLSID& clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return text;
}

} // namespace

LONG CProgIdRegistry::Register(const wchar_t* progId, const CLSID& clsid)
{
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsidText = ClsidText(clsid);
    LONG result = SetDefaultValue(classes + progId + L"\\CLSID", clsidText);
    if (result == ERROR_SUCCESS)
    {
        result = SetDefaultValue(classes + L"CLSID\\" + clsidText + L"\\ProgID", progId);
    }
    return result;
}

} // namespace swsim
