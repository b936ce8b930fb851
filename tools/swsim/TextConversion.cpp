#include "tools/swsim/TextConversion.h"

#include <windows.h>

namespace swsim
{

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty())
    {
        return {};
    }
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, result.data(), length, nullptr,
                        nullptr);
    return result;
}

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.empty())
    {
        return {};
    }
    const int narrowLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, result.data(), length);
    return result;
}

} // namespace swsim
