#include "tools/swsim/SatIdentity.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <windows.h>

#include "tools/swsim/TextConversion.h"

namespace swsim
{

namespace
{

constexpr char kAttributeRecord[] = "string_attrib-name_attrib-gen-attrib ";

// Reads the string field "@<length> <bytes>" starting at the first '@' from at.
bool ReadStringField(const std::string& text, std::size_t& at, std::string& field)
{
    at = text.find('@', at);
    if (at == std::string::npos)
        return false;
    const std::size_t blank = text.find(' ', at);
    if (blank == std::string::npos)
        return false;
    const std::size_t length = std::strtoul(text.c_str() + at + 1, nullptr, 10);
    if (blank + 1 + length > text.size())
        return false;
    field = text.substr(blank + 1, length);
    at = blank + 1 + length;
    return true;
}

std::string Utf8FromAnsi(const std::string& text)
{
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return Utf8FromWide(wide);
}

} // namespace

std::string SatIdentity(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::string identity;
    for (std::size_t at = text.find(kAttributeRecord); at != std::string::npos;
         at = text.find(kAttributeRecord, at))
    {
        std::string name;
        std::string value;
        if (!ReadStringField(text, at, name) || !ReadStringField(text, at, value))
            break;
        identity += (identity.empty() ? "" : ";") + Utf8FromAnsi(name) + "=" + Utf8FromAnsi(value);
    }
    return identity;
}

} // namespace swsim
