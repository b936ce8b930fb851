#include "tools/swsim/OptionText.h"

#include <stdexcept>

#include "tools/swsim/TextConversion.h"

namespace swsim
{
namespace
{

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

OptionItem MakeItem(const std::wstring& token)
{
    const size_t equals = token.find(L'=');
    if (equals == std::wstring::npos || equals == 0)
    {
        throw std::invalid_argument("option without key=value: " + Utf8FromWide(token));
    }
    return {token.substr(0, equals), token.substr(equals + 1)};
}

} // namespace

std::vector<OptionItem> SplitOptionText(const std::wstring& text)
{
    std::vector<OptionItem> items;
    std::wstring token;
    bool inToken = false;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\\' && i + 1 < text.size() && text[i + 1] == L'"')
        {
            token += L'"';
            inToken = true;
            ++i;
        }
        else if (c == L'"')
        {
            quoted = !quoted;
            inToken = true;
        }
        else if (IsBlank(c) && !quoted)
        {
            if (inToken)
            {
                items.push_back(MakeItem(token));
            }
            token.clear();
            inToken = false;
        }
        else
        {
            token += c;
            inToken = true;
        }
    }
    if (quoted)
    {
        throw std::invalid_argument("unterminated quote in options: " + Utf8FromWide(text));
    }
    if (inToken)
    {
        items.push_back(MakeItem(token));
    }
    return items;
}

std::wstring CommandLineArguments(const std::wstring& commandLine)
{
    // The program name ends at the closing quote when quoted, else at a blank.
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"')
    {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    }
    else
    {
        while (end < commandLine.size() && !IsBlank(commandLine[end]))
        {
            ++end;
        }
    }
    return commandLine.substr(end);
}

} // namespace swsim
